/* A program that crashes: it reads through a null pointer after saying so. */
#include <stdio.h>

int main(void)
{
    volatile int* nowhere = NULL;
    puts("reading through a null pointer");
    fflush(stdout);
    return *nowhere;
}
