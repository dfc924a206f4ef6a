# Run by the test torvane_build_without_qt (cmake -P): configure with TORVANE_BUILD_GUI=OFF while any
# find_package(Qt6) fails, build everything that configuration holds, and check that vkctl needs no Qt
# library at run time.
set(args -S ${SOURCE_DIR} -B ${BINARY_DIR} -G ${GENERATOR}
    -DTORVANE_BUILD_GUI=OFF -DTORVANE_BUILD_SIM=OFF -DTORVANE_BUILD_TOOLS=ON
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DCMAKE_BUILD_TYPE=${BUILD_TYPE})
if(COMPILER_LAUNCHER)
    list(APPEND args -DCMAKE_C_COMPILER_LAUNCHER=${COMPILER_LAUNCHER}
        -DCMAKE_CXX_COMPILER_LAUNCHER=${COMPILER_LAUNCHER})
endif()

function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${what} failed (${result}):\n${out}")
    endif()
    set(output "${out}" PARENT_SCOPE)
endfunction()

# A fresh configure each time; the objects of the last run stay, so that an unchanged tree builds fast.
file(REMOVE ${BINARY_DIR}/CMakeCache.txt)
run("configure without Qt" ${CMAKE_COMMAND} ${args})
run("build without Qt" ${CMAKE_COMMAND} --build ${BINARY_DIR} --parallel 2)

set(vkctl ${BINARY_DIR}/tools/vkctl/vkctl)
if(NOT EXISTS ${vkctl})
    message(FATAL_ERROR "the build without Qt made no ${vkctl}")
endif()
run("reading the libraries vkctl needs" ${OBJDUMP} -p ${vkctl})
if(output MATCHES "NEEDED[ \t]+libQt")
    message(FATAL_ERROR "vkctl needs a Qt library:\n${output}")
endif()
run("vkctl models" ${vkctl} models)
if(NOT output MATCHES "VKB304")
    message(FATAL_ERROR "vkctl models did not list the models:\n${output}")
endif()
message(STATUS "built without Qt: vkcfg, manager core and platform, vkctl")
