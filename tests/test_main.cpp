#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>

#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    // The double-byte cases mean nothing under another code page.
    if (GetACP() != 936) {
        std::fprintf(stderr, "the tests need ANSI code page 936 (GBK), this system has %u\n", GetACP());
        return 1;
    }
    doctest::Context context(argc, argv);
    return context.run();
}
