# zentri_add_test(<name> LABEL <module> SOURCES <files...> [LIBS <targets...>])
# One test executable; every GoogleTest case in it becomes a ctest test with the module's label.
# Tests run with a device root inside the build folder, never the user's own device.
function(zentri_add_test name)
    cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} zentri_test_support GTest::gtest GTest::gmock
                                          GTest::gtest_main)
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 120
        PROPERTIES LABELS ${T_LABEL}
                   ENVIRONMENT "ZENTRI_DEVICE_ROOT=${CMAKE_BINARY_DIR}/test-device")
endfunction()
