/*
 * Calls with arguments that the interface refuses before any exchange, and the result each gives. The
 * Linux tests and the Windows test program run the same cases, so the DLL checks its arguments exactly
 * as the shared object does.
 */
#ifndef VKCFG_TESTS_ARGUMENT_CASES_H
#define VKCFG_TESTS_ARGUMENT_CASES_H

#include "exports_list.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Runs every case through `api`, with `ip` as a well-formed device address (nothing may be sent to it).
 * Prints each case that gives another result, on stderr, and returns how many did. */
int vk_run_argument_cases(const VkApi* api, const char* ip);

#ifdef __cplusplus
}
#endif

#endif /* VKCFG_TESTS_ARGUMENT_CASES_H */
