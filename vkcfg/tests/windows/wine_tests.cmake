# The Windows DLL of both targets, cross-built from these sources with MinGW-w64 (cmake/toolchains) as
# part of this build, installed into build/windows/<target>/dist (the folder a user would zip), and
# tested under Wine against the native vksim (wine_test.sh, in the tests' network namespace).
include(ExternalProject)

foreach(target i686 x86_64)
    set(dir ${PROJECT_BINARY_DIR}/windows/${target})
    ExternalProject_Add(vkcfg_windows_${target}
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${dir}/build
        INSTALL_DIR ${dir}/dist
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-w64-${target}.cmake
            -DCMAKE_BUILD_TYPE=RelWithDebInfo
            -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
            -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
            -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
        INSTALL_COMMAND ${CMAKE_COMMAND} --install <BINARY_DIR> --strip
        BUILD_ALWAYS ON)

    add_test(NAME vkcfg_windows_dll_${target}
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/wine_test.sh ${target} ${dir}/dist
                ${dir}/build/vkcfg/tests/windows/vkcfg_dll_test.exe $<TARGET_FILE:vksim> ${dir}/wine)
    set_tests_properties(vkcfg_windows_dll_${target} PROPERTIES LABELS integration
        ENVIRONMENT "${TORVANE_TEST_ENV}" RESOURCE_LOCK vk_local_port_65281 TIMEOUT 1200)
endforeach()
