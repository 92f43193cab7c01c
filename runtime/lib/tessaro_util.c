/* tessaro: helpers. */
#include "tessaro_util.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
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

tessaro_usec_t tessaro_deadline(tessaro_usec_t timeout)
{
    return timeout < 0 ? timeout : tessaro_clock_usec() + timeout;
}

tessaro_usec_t tessaro_left(tessaro_usec_t deadline, tessaro_usec_t timeout)
{
    tessaro_usec_t left;

    if (timeout < 0)
        return timeout;
    left = deadline - tessaro_clock_usec();
    return left > 0 ? left : 0;
}

tessaro_usec_t tessaro_clock_usec(void)
{
#ifdef _WIN32
    static LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    /* whole seconds and the rest apart, so that the product cannot overflow */
    return (now.QuadPart / frequency.QuadPart) * TESSARO_USEC_PER_SEC +
           (now.QuadPart % frequency.QuadPart) * TESSARO_USEC_PER_SEC / frequency.QuadPart;
#else
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (tessaro_usec_t)now.tv_sec * TESSARO_USEC_PER_SEC + now.tv_nsec / 1000;
#endif
}
