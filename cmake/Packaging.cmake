# `make package`: a Debian package of the installed tree under /usr. The dependencies on shared
# libraries are computed by dpkg-shlibdeps; what the program loads at run time without linking
# it (Qt's platform plugins, the chart's font) is named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plotwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The Debian revision of the package; packaging/changelog names the same version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer for the monitoring data of feed-optimised NC programs")
# Lines of the long description stay within 80 columns, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Plotwell charts the material removed per block of an NC program, or removed\n\
per second with the programmed or the optimised feed, from the text or binary\n\
monitoring data that a feed-optimising machining product writes. The curvex\n\
tool gives the data to scripts.")
# A host under the reserved top-level domain ".example": a real domain name as Debian's tools
# require, that no one else can own.
set(CPACK_PACKAGE_CONTACT "Plotwell maintainers <maintainers@plotwell.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, python3-numpy")
include(CPack)
