/* vkcfg.h as a C compiler without C11 takes it (Microsoft C without /std:c11 has no _Static_assert):
 * it compiles as C90, and its record layouts are still checked, through the header's fallback. */
#include "vkcfg.h"

/* ISO C wants at least one declaration of the file's own. */
typedef int vkcfg_header_compiles_as_c90;
