# Warnings and sanitizers are set per target, never globally.
function(plotwell_target_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    # GCC 12 takes a string literal joined to a std::string, inlined at -O2 and above, for
    # overlapping copies (GCC bug 105329); the warning says nothing about our code there.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(PLOTWELL_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "EXECUTABLE")
            target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/lsansuppressions.cpp)
        endif()
    endif()
endfunction()

# A GoogleTest executable registered with CTest. Usage:
#   plotwell_add_test(NAME name SOURCES a.cpp b.cpp LIBS lib1 lib2)
function(plotwell_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
    plotwell_target_options(${T_NAME})
    gtest_discover_tests(${T_NAME}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        # One variable per property: a ";" inside a property value does not survive the
        # discovery script, which dropped PLOTWELL_BIN.
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   ENVIRONMENT_MODIFICATION "PLOTWELL_BIN=set:${PROJECT_BINARY_DIR}/bin"
        DISCOVERY_TIMEOUT 60)
endfunction()

# A Google Benchmark executable in <build>/bench; `make bench` runs every one of them. Usage:
#   plotwell_add_benchmark(NAME name SOURCES a.cpp LIBS lib1)
function(plotwell_add_benchmark)
    cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${B_NAME} ${B_SOURCES})
    target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
    set_target_properties(${B_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
    plotwell_target_options(${B_NAME})
endfunction()
