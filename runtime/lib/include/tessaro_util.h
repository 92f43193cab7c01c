/* tessaro: the support library of Kelvane's generated code. Helpers, and
 * the C library headers the generated sources rely on. */
#ifndef TESSARO_UTIL_H
#define TESSARO_UTIL_H

#include <errno.h>
#include <string.h>
#ifndef _WIN32
#include <strings.h>
#endif

#include "tessaro_type.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Waits: the unit is the platform's own, milliseconds on Windows and
 * seconds elsewhere, as the generated demo programs count. */
void tessaro_sleep(unsigned int units);
/* A steady clock in microseconds: only differences between two readings
 * mean something. Deadlines are counted on it. */
tessaro_usec_t tessaro_clock_usec(void);

#ifdef __cplusplus
}
#endif

#endif
