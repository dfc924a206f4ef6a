# Fuzz targets and sanitizer builds.
#
# TORVANE_SANITIZE: AddressSanitizer + UndefinedBehaviorSanitizer for every target of the build.
# TORVANE_FUZZ: libFuzzer targets (clang only; implies TORVANE_SANITIZE, whose runtime also serves the
#   coverage hooks of ordinary programs): everything is compiled with coverage instrumentation
#   (-fsanitize=fuzzer-no-link) and each fuzz target gets a <name>_fuzzer program and a CTest test
#   fuzz_<name> (label "fuzz") that fuzzes for TORVANE_FUZZ_SECONDS from its committed corpus; new
#   inputs go to build/fuzz-corpus/<name>, never into the source tree (scripts/fuzz.sh keeps them).
# In every build, with any compiler, each target's committed corpus replays as the ordinary test
# fuzz_replay_<name> (label "unit").

option(TORVANE_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TORVANE_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
set(TORVANE_FUZZ_SECONDS 20 CACHE STRING "Length of each short fuzz run of the test suite, in seconds")

set(TORVANE_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR}/../fuzz)

if(TORVANE_SANITIZE OR TORVANE_FUZZ)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(TORVANE_FUZZ)
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
    check_cxx_source_compiles([[
        #include <cstddef>
        #include <cstdint>
        extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
    ]] TORVANE_HAVE_LIBFUZZER)
    unset(CMAKE_REQUIRED_FLAGS)
    if(NOT TORVANE_HAVE_LIBFUZZER)
        message(FATAL_ERROR "TORVANE_FUZZ needs a compiler with libFuzzer (clang and libclang-rt-dev)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# torvane_add_fuzzer(<name> SOURCES ... LIBS ... CORPUS <dir> [MAX_LEN <bytes>])
# The sources define LLVMFuzzerTestOneInput; CORPUS is the committed seed corpus.
function(torvane_add_fuzzer name)
    cmake_parse_arguments(F "" "CORPUS;MAX_LEN" "SOURCES;LIBS" ${ARGN})
    if(NOT F_MAX_LEN)
        set(F_MAX_LEN 4096)
    endif()
    add_executable(${name}_replay ${F_SOURCES} ${TORVANE_FUZZ_DIR}/replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ${F_LIBS})
    target_include_directories(${name}_replay PRIVATE ${TORVANE_FUZZ_DIR})
    torvane_warnings(${name}_replay)
    add_test(NAME fuzz_replay_${name} COMMAND ${name}_replay ${F_CORPUS})
    set_tests_properties(fuzz_replay_${name} PROPERTIES LABELS unit ENVIRONMENT "${TORVANE_TEST_ENV}")

    if(TORVANE_FUZZ)
        add_executable(${name}_fuzzer ${F_SOURCES})
        target_link_libraries(${name}_fuzzer PRIVATE ${F_LIBS})
        target_include_directories(${name}_fuzzer PRIVATE ${TORVANE_FUZZ_DIR})
        target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
        torvane_warnings(${name}_fuzzer)
        set(work ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
        file(MAKE_DIRECTORY ${work})
        add_test(NAME fuzz_${name}
            COMMAND ${name}_fuzzer -max_total_time=${TORVANE_FUZZ_SECONDS} -max_len=${F_MAX_LEN}
                    -timeout=10 -print_final_stats=1 -artifact_prefix=${work}/ ${work} ${F_CORPUS})
        set_property(GLOBAL APPEND PROPERTY TORVANE_FUZZ_TARGETS
            "${name} $<TARGET_FILE:${name}_fuzzer> ${F_CORPUS} ${F_MAX_LEN}")
        math(EXPR limit "${TORVANE_FUZZ_SECONDS} + 120")
        set_tests_properties(fuzz_${name} PROPERTIES LABELS fuzz TIMEOUT ${limit}
            ENVIRONMENT "${TORVANE_TEST_ENV}")
    endif()
endfunction()

# Writes build/fuzz-targets.txt, one line per libFuzzer target: name, program, committed corpus, max_len
# (read by scripts/fuzz.sh). Called once, at the end of the top-level CMakeLists.txt.
function(torvane_write_fuzz_manifest)
    get_property(targets GLOBAL PROPERTY TORVANE_FUZZ_TARGETS)
    list(JOIN targets "\n" lines)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzz-targets.txt CONTENT "${lines}\n")
endfunction()
