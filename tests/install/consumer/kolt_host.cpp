// A host linked against libkolt alone: loading it pulls in the libraries
// libkolt links privately, which only its own run path can find.
#include <tessiv/platform/library_version.h>
#include <tessiv/scene/stream_mem.h>
#include <tessiv/version.h>

#include <cstdio>
#include <cstring>

int main()
{
    if (std::strcmp(KoltVersion(), TESSIV_VERSION_STRING) != 0) {
        std::printf("kolt_host: library version %s, headers %s\n", KoltVersion(), TESSIV_VERSION_STRING);
        return 1;
    }
    kolt::CStreamMem stream;
    stream << 42;
    stream.rewind();
    int value = 0;
    stream >> value;
    if (value != 42) {
        std::puts("kolt_host: memory stream did not read back its value");
        return 1;
    }
    std::printf("kolt_host: linked libkolt %s\n", KoltVersion());
    return 0;
}
