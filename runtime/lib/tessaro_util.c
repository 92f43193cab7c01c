/* tessaro: helpers. */
#include "tessaro_util.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

void tessaro_sleep(unsigned int units)
{
#ifdef _WIN32
    Sleep(units);
#else
    sleep(units);
#endif
}
