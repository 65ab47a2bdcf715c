// Entry point: start-up, then the console front end; the desktop face follows
// when the command line names no input.
#include <cstdio>

int main() {
    std::fprintf(stderr, "This build of Pixalto has no desktop interface.\n");
    return 0;
}
