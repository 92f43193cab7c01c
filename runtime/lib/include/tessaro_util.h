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
/* The deadline of a call that may take timeout microseconds (negative: none),
 * and what is left of it: 0 once it has passed, negative without one. The
 * calls that receive or send several times share one deadline. */
tessaro_usec_t tessaro_deadline(tessaro_usec_t timeout);
tessaro_usec_t tessaro_left(tessaro_usec_t deadline, tessaro_usec_t timeout);

#ifdef __cplusplus
}
#endif

#endif
