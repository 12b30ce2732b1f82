# `make package`: a Debian package of the installed tree under /usr. The dependencies on shared
# libraries are computed by dpkg-shlibdeps; what the program loads at run time without linking
# it (Qt's platform plugins, the chart's font) is named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plotwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer for the monitoring data of feed-optimised NC programs")
set(CPACK_PACKAGE_DESCRIPTION
    "Plotwell charts the material removed per block of an NC program, or removed per second\n\
with the programmed or the optimised feed, from the text or binary monitoring data that a\n\
feed-optimising machining product writes. The curvex tool gives the data to scripts.")
set(CPACK_PACKAGE_CONTACT "Plotwell maintainers <plotwell@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic")
include(CPack)
