// A host built against an installed Tessiv: it uses the inline kolt types
// and calls into every library, checking they come from the same install.
#include <tessiv/kolt.h>
#include <tessiv/tessiv.h>

#include <cstdio>
#include <cstring>

int main()
{
    kolt::cvector<kolt::Pnt3> points;
    for (int i = 0; i < 5; ++i)
        points.push_back(kolt::Pnt3(i, 2 * i, 3 * i));
    kolt::MatX4 m;
    m.SetTranslate(kolt::Pnt3(1, 2, 3));
    if (!m.InvertFast() || m[12] != -1 || points.capacity() != 8) {
        std::puts("host: wrong results from the installed headers");
        return 1;
    }
    char const *versions[] = {TessivPlatformVersion(), KoltVersion(), ZtBaseVersion(),
                              FendralVersion(), TessivVersion()};
    for (char const *version : versions) {
        if (std::strcmp(version, TESSIV_VERSION_STRING) != 0) {
            std::printf("host: library version %s, headers %s\n", version, TESSIV_VERSION_STRING);
            return 1;
        }
    }
    char text[16] = {};
    if (LoadStringA(nullptr, 7, text, sizeof text) == 0 || std::strcmp(text, "installed") != 0) {
        std::puts("host: its own resource table was not compiled in or not found");
        return 1;
    }
    std::printf("host: linked Tessiv %s\n", TESSIV_VERSION_STRING);
    return 0;
}
