# Test registration with the project's labels.
#
# Every test runs with VKCFG_BROADCAST=127.255.255.255 so that nothing is ever broadcast off loopback.
# Tests that bind the library's fixed local UDP port 65281 (anything that talks to a device, real or
# simulated) share one resource lock so that CTest never runs two of them at once.

set(TORVANE_TEST_ENV "VKCFG_BROADCAST=127.255.255.255")

# torvane_add_gtest(<target> LABEL <unit|integration|gui|bench> [PORT_LOCK] [OWN_MAIN] [TIMEOUT <s>]
#                   SOURCES ... LIBS ...)
# OWN_MAIN: the sources bring their own main() (GUI tests create the application object there).
function(torvane_add_gtest target)
    cmake_parse_arguments(T "PORT_LOCK;OWN_MAIN" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${T_SOURCES})
    target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
    if(NOT T_OWN_MAIN)
        target_link_libraries(${target} PRIVATE GTest::gtest_main)
    endif()
    torvane_warnings(${target})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set(props LABELS ${T_LABEL} ENVIRONMENT "${TORVANE_TEST_ENV}" TIMEOUT ${T_TIMEOUT})
    if(T_PORT_LOCK)
        list(APPEND props RESOURCE_LOCK vk_local_port_65281)
    endif()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30 PROPERTIES ${props})
endfunction()
