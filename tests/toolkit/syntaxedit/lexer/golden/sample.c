#include <stdio.h>
/* A block
   comment { } */
static int count = 42; // line

int main(void) {
    const char* s = "a \"q\" {";
    if (count) {
        char c = '}';
    }
#define X 1
    return 0;
}
