// Language detection from the environment and the choice of a language
// resource library beside a module.
#include <tessiv/siblings/fendral/multi_language.h>

#include <tessiv/platform/winbase.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/siblings/fendral/log.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class Environment {
public:
    Environment(std::initializer_list<std::pair<char const *, char const *>> values)
    {
        for (char const *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
            char const *old = std::getenv(name);
            saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            unsetenv(name);
        }
        for (auto [name, value] : values)
            setenv(name, value, 1);
    }
    ~Environment()
    {
        for (auto const &[name, value] : saved_)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::string resource_language(HINSTANCE library)
{
    char text[32] = {};
    LoadStringA(library, 1, text, sizeof text);
    return text;
}

TEST(MultiLanguageTest, LocaleNamesMapToLanguageIds)
{
    struct Case {
        char const *locale;
        WORD id;
    };
    for (Case const &c : {Case{"de_DE.UTF-8", 0x0407}, Case{"de_AT@euro", 0x0C07}, Case{"de", 0x0407},
                          Case{"en_NZ", 0x0409}, Case{"EN_gb", 0x0809}, Case{"pt_BR.utf8", 0x0416},
                          Case{"nn_NO", 0x0414}, Case{"C", 0}, Case{"POSIX", 0}, Case{"xx_YY", 0}, Case{"", 0}})
        EXPECT_EQ(CMultiLanguage::LangIDFromLocale(c.locale), c.id) << c.locale;
    EXPECT_EQ(CMultiLanguage::LanguageTag(0x0C07, true), "de_AT");
    EXPECT_EQ(CMultiLanguage::LanguageTag(0x0C07, false), "de");
    EXPECT_EQ(CMultiLanguage::LanguageTag(0x0814, true), "") << "no country tag for an unlisted id";
}

TEST(MultiLanguageTest, DetectionReadsTheEnvironmentInOrder)
{
    CMultiLanguage languages;
    {
        Environment env{{"LANGUAGE", "xx:fr_CA:de"}, {"LC_MESSAGES", ""}, {"LANG", "it_IT.UTF-8"}};
        EXPECT_EQ(languages.DetectUILanguage(), 0x0C0C) << "the first known LANGUAGE entry";
        EXPECT_EQ(languages.DetectLangID(), 0x0410) << "an empty LC_MESSAGES counts as unset";
    }
    {
        Environment env{{"LC_ALL", "de_CH.UTF-8"}, {"LC_MESSAGES", "sv_SE"}, {"LANG", "it_IT"}};
        EXPECT_EQ(languages.DetectLangID(), 0x0807);
        EXPECT_EQ(languages.DetectUILanguage(), 0x0807) << "without LANGUAGE the locale decides";
    }
    {
        Environment env{{"LANG", "C.UTF-8"}};
        EXPECT_EQ(languages.DetectLangID(), 0);
        EXPECT_EQ(languages.DetectUILanguage(), 0);
    }
}

TEST(MultiLanguageTest, LoadsTheFirstSoundLibraryBesideTheModule)
{
    fs::path folder = fs::temp_directory_path() / ("lang_test_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::create_symlink(GERMAN_LIBRARY, folder / "libtessiv_lang_de.so");
    fs::create_symlink(ENGLISH_LIBRARY, folder / "libtessiv_lang_en_GB.so");
    fs::create_symlink(FOREIGN_LIBRARY, folder / "libtessiv_lang_fr.so");
    std::ofstream(folder / "libtessiv_lang_es.so") << "not a library";
    std::string module = (folder / "host").string();

    CMultiLanguage languages;
    HINSTANCE library = languages.LoadLangResourceDLL(module.c_str(), 0x0C07);
    EXPECT_EQ(resource_language(library), "Deutsch") << "de_AT falls back to the language's library";
    FreeLibrary(library);
    library = languages.LoadLangResourceDLL(module.c_str(), 0x0809);
    EXPECT_EQ(resource_language(library), "English") << "a country's own library comes first";
    FreeLibrary(library);

    cLog.Clear();
    EXPECT_EQ(languages.LoadLangResourceDLL(module.c_str(), 0x040C), nullptr) << "a library without a table";
    EXPECT_EQ(languages.LoadLangResourceDLL(module.c_str(), 0x0C0A), nullptr) << "a file that is no library";
    EXPECT_EQ(languages.LoadLangResourceDLL(module.c_str(), 0x0411), nullptr) << "a language without a library";
    EXPECT_EQ(languages.LoadLangResourceDLL(nullptr, 0x0407), nullptr);
    EXPECT_GE(cLog.Count(), 4u) << "each failure leaves a trace line";

    // Language 0: the configured list in order, then what was detected.
    languages.SetLanguages({0x040C, 0x0407});
    library = languages.LoadLangResourceDLL(module.c_str(), 0);
    EXPECT_EQ(resource_language(library), "Deutsch");
    FreeLibrary(library);
    {
        Environment env{{"LANGUAGE", "ja:en_GB"}, {"LANG", "de_DE"}};
        CMultiLanguage detected;
        detected.DetectLangID();
        detected.DetectUILanguage();
        library = detected.LoadLangResourceDLL(module.c_str(), 0);
        EXPECT_EQ(resource_language(library), "English") << "LANGUAGE's entries before the locale";
        FreeLibrary(library);
    }
    fs::remove_all(folder);
}

}  // namespace
