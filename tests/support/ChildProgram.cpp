// A program the test support's own tests start. "exit N" writes a line to
// standard output and one to standard error and exits with N at once; "stay"
// writes a line, flushed, and then outlives any limit a test gives it.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "exit") == 0) {
        std::fputs("out\n", stdout);
        std::fputs("err\n", stderr);
        return std::atoi(argv[2]);
    }
    if (argc == 2 && std::strcmp(argv[1], "stay") == 0) {
        std::fputs("staying\n", stdout);
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::minutes(10));
        return 0;
    }
    std::fputs("usage: child exit N | child stay\n", stderr);
    return 2;
}
