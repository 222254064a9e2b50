// The profile reader on arbitrary file contents: reads must not fail on any
// input, and a value written over whatever was there reads back, held or not.
#include <tessiv/platform/ini_file.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const *data, std::size_t size)
{
    static std::string const path = "/tmp/ini_fuzz_" + std::to_string(::getpid()) + ".ini";
    if (std::FILE *file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    TessivIniFile ini(path);
    ini.Get("Panes", "Rows");
    ini.Get("", "");
    if (ini.Write("Fuzz", "Entry", "value") && ini.Get("fuzz", "entry").value_or("") != "value")
        std::abort();
    // A held write reads back before and after the one write of the file.
    ini.Hold();
    if (ini.Write("Fuzz", "Held", "1") && ini.Get("fuzz", "held").value_or("") != "1")
        std::abort();
    if (ini.Flush() && ini.Get("fuzz", "held").value_or("") != "1")
        std::abort();
    std::remove(path.c_str());
    return 0;
}
