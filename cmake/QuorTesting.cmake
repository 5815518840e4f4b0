# quor_add_gtest(NAME <name> LABEL <unit|audio|gui|e2e> SOURCES ... LIBS ... [NO_MAIN] [BOTH_SERVERS]
#                [ENVIRONMENT VAR=value...])
# One GoogleTest program per tested folder; each test case becomes a CTest test with the label.
# BOTH_SERVERS registers every case a second time, prefixed "pipewire.", to run against a private
# PipeWire server instead of PulseAudio (the audio fixture reads QUOR_SOUND_SERVER).
find_package(GTest REQUIRED)
include(GoogleTest)

set(QUOR_TEST_BIN_DIR ${CMAKE_BINARY_DIR}/tests-bin)

function(quor_add_gtest)
    cmake_parse_arguments(T "NO_MAIN;BOTH_SERVERS" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    set_property(GLOBAL APPEND PROPERTY QUOR_TESTS_${T_LABEL} ${T_NAME})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
    if(NOT T_NO_MAIN)
        target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
    endif()
    target_compile_definitions(${T_NAME} PRIVATE
        QUOR_BIN_DIR="${QUOR_BIN_DIR}"
        QUOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    set_target_properties(${T_NAME} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${QUOR_TEST_BIN_DIR}
        BUILD_RPATH "${QUOR_BIN_DIR}")
    set(_environment)
    if(T_ENVIRONMENT)
        set(_environment ENVIRONMENT "${T_ENVIRONMENT}")
    endif()
    gtest_discover_tests(${T_NAME}
        DISCOVERY_TIMEOUT 60
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT} ${_environment})
    if(T_BOTH_SERVERS)
        gtest_discover_tests(${T_NAME}
            TEST_PREFIX pipewire.
            DISCOVERY_TIMEOUT 60
            DISCOVERY_MODE PRE_TEST
            PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT} ENVIRONMENT QUOR_SOUND_SERVER=pipewire)
    endif()
endfunction()

# quor_add_label_targets(): one target per label, quor_tests_<label>, that builds that label's test
# programs and what they run (their add_dependencies), so a build for some labels skips the rest.
function(quor_add_label_targets)
    foreach(label unit audio gui e2e)
        get_property(programs GLOBAL PROPERTY QUOR_TESTS_${label})
        if(programs)
            add_custom_target(quor_tests_${label})
            add_dependencies(quor_tests_${label} ${programs})
        endif()
    endforeach()
endfunction()
