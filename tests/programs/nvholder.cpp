// nvholder <ms>: a second program of the desktop holding the files whose handles it inherited,
// as a reader or a virus scanner holds them; it ends by itself after <ms> milliseconds.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) { Sleep(argc > 1 ? std::strtoul(argv[1], nullptr, 0) : 0); }
