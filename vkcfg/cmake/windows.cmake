# The Windows DLL: vkcfg.dll exports the functions listed in src/api/vkcfg.def under their plain names,
# with the stdcall convention on 32-bit Windows, and needs no runtime DLL of the compiler (libgcc,
# libstdc++ and, with the posix thread model, winpthread are linked in), only system DLLs.

set(vkcfg_def_source ${CMAKE_CURRENT_SOURCE_DIR}/src/api/vkcfg.def)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(vkcfg_def ${vkcfg_def_source})
else()
    # One calling convention on 64-bit Windows, and its names carry no argument sizes.
    file(STRINGS ${vkcfg_def_source} def_lines REGEX "^[^;]")
    list(TRANSFORM def_lines REPLACE "@[0-9]+$" "")
    list(JOIN def_lines "\n" def_text)
    set(vkcfg_def ${CMAKE_CURRENT_BINARY_DIR}/vkcfg.def)
    file(CONFIGURE OUTPUT ${vkcfg_def}
        CONTENT "; The exports of vkcfg.dll: the C interface of vkcfg.h.\n${def_text}\n" @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${vkcfg_def_source})
endif()

# Windows 7 is the oldest system the transport's calls (WSAPoll) are there for.
target_compile_definitions(vkcfg_core PUBLIC _WIN32_WINNT=0x0601 WIN32_LEAN_AND_MEAN)
target_sources(vkcfg PRIVATE ${vkcfg_def})
set_target_properties(vkcfg PROPERTIES PREFIX "" LINK_DEPENDS ${vkcfg_def})
target_link_options(vkcfg PRIVATE -static)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The linker resolves each "name@N" of the .def to the stdcall symbol and exports it as "name". Its
    # own import library would then lack the decorated names that 32-bit callers link against, so
    # dlltool writes the import library from the .def instead.
    target_link_options(vkcfg PRIVATE LINKER:--kill-at)
    if(NOT CMAKE_DLLTOOL)
        find_program(CMAKE_DLLTOOL NAMES ${CMAKE_C_COMPILER_TARGET}-dlltool i686-w64-mingw32-dlltool dlltool
            REQUIRED)
    endif()
    add_custom_command(TARGET vkcfg POST_BUILD
        COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${vkcfg_def} --dllname vkcfg.dll
                --output-lib $<TARGET_LINKER_FILE:vkcfg>
        VERBATIM)
endif()

install(FILES ${vkcfg_def} DESTINATION ${CMAKE_INSTALL_LIBDIR})
