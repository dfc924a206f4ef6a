# Tests of the build itself.
#
# torvane_build_without_qt: configures the project with the GUI off and Qt made unfindable, as on a
# machine without Qt, and builds what remains (the library, the manager's core and platform layer,
# vkctl). A find_package(Qt6) outside the GUI's directories, or a target outside them that links Qt,
# fails the configure. A build with the GUI off is such a build already and does without the test.
if(NOT TORVANE_BUILD_GUI)
    return()
endif()
add_test(NAME torvane_build_without_qt
    COMMAND ${CMAKE_COMMAND}
        -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
        -DBINARY_DIR=${PROJECT_BINARY_DIR}/build_without_qt
        -DGENERATOR=${CMAKE_GENERATOR}
        -DCOMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
        -DOBJDUMP=${CMAKE_OBJDUMP}
        -DBUILD_TYPE=${CMAKE_BUILD_TYPE}
        -P ${CMAKE_CURRENT_LIST_DIR}/build_without_qt.cmake)
set_tests_properties(torvane_build_without_qt PROPERTIES LABELS build TIMEOUT 1200)
