# zentri_add_test(<name> LABEL <module> SOURCES <files...> [LIBS <targets...>])
# One test executable; every GoogleTest case in it becomes a ctest test with the module's label.
# The target tests_<label> builds every test executable of a label (the sanitizer pass of
# .ci/run builds just those); helpers a label's tests run are added with add_dependencies.
# Tests run with a device root inside the build folder, never the user's own device.
function(zentri_add_test name)
    cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    if(NOT TARGET tests_${T_LABEL})
        add_custom_target(tests_${T_LABEL})
    endif()
    add_dependencies(tests_${T_LABEL} ${name})
    target_link_libraries(${name} PRIVATE ${T_LIBS} zentri_test_support GTest::gtest GTest::gmock
                                          GTest::gtest_main)
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 120
        PROPERTIES LABELS ${T_LABEL}
                   ENVIRONMENT "ZENTRI_DEVICE_ROOT=${CMAKE_BINARY_DIR}/test-device")
endfunction()
