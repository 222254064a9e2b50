// A host that loads libtessiv.so with dlopen and unloads it with dlclose,
// marking each step in the trace log. With the argument "configure", it
// configures German before loading, and prints the language ids the
// configuration object detected afterwards:
//   detected <id> <ui id>
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/siblings/fendral/multi_language.h>

#include <cstdio>
#include <cstring>
#include <dlfcn.h>

int main(int argc, char **argv)
{
    cLog.PutLog(1, "probe", "main begins");
    if (argc > 1 && std::strcmp(argv[1], "configure") == 0)
        cfg_languages.AddLanguage(0x0407);
    void *module = dlopen(MODULE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::printf("dlopen failed: %s\n", dlerror());
        return 1;
    }
    cLog.PutLog(1, "probe", "loaded");
    std::printf("detected %d %d\n", cfg_languages.GetDetectedLangID(), cfg_languages.GetUILanguage());
    dlclose(module);
    cLog.PutLog(1, "probe", "unloaded");
    return 0;
}
