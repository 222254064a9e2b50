// CMultiLanguage: locale names to language ids and back, and the search for
// a language resource library beside a module.
#include <tessiv/siblings/fendral/multi_language.h>

#include <tessiv/platform/winbase.h>
#include <tessiv/siblings/fendral/log.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

struct Primary {
    char const *code;
    WORD id;
};
// ISO 639 codes and their primary language ids.
constexpr Primary kPrimaries[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07},
    {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C}, {"he", 0x0D}, {"hu", 0x0E},
    {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12}, {"nl", 0x13}, {"nb", 0x14}, {"pl", 0x15},
    {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sk", 0x1B}, {"sv", 0x1D}, {"tr", 0x1F},
    {"uk", 0x22}};

struct Country {
    char const *tag;
    WORD id;
};
// Countries whose sublanguage is not the default one of their language, or
// whose default is named here so the tag comes back with its country.
constexpr Country kCountries[] = {
    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"de_DE", 0x0407},
    {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"fr_FR", 0x040C}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C},
    {"fr_CH", 0x100C}, {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816},
    {"zh_CN", 0x0804}, {"zh_TW", 0x0404}, {"it_IT", 0x0410}, {"it_CH", 0x0810}, {"nl_NL", 0x0413},
    {"nl_BE", 0x0813}, {"ja_JP", 0x0411}, {"ko_KR", 0x0412}, {"ru_RU", 0x0419}, {"pl_PL", 0x0415},
    {"sv_SE", 0x041D}};

constexpr WORD kSublangDefault = 1;

char const *first_set(std::initializer_list<char const *> names)
{
    for (char const *name : names)
        if (char const *value = std::getenv(name); value && *value)
            return value;
    return nullptr;
}

}  // namespace

CMultiLanguage cfg_languages;

WORD CMultiLanguage::LangIDFromLocale(std::string const &locale)
{
    // language[_COUNTRY][.codeset][@modifier]
    std::string name = locale.substr(0, locale.find_first_of(".@"));
    std::size_t separator = name.find_first_of("_-");
    std::string language = name.substr(0, separator);
    std::string country = separator == std::string::npos ? "" : name.substr(separator + 1);
    std::transform(language.begin(), language.end(), language.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::transform(country.begin(), country.end(), country.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (language == "no" || language == "nn")
        language = "nb";
    auto primary = std::find_if(std::begin(kPrimaries), std::end(kPrimaries),
                                [&](Primary const &p) { return language == p.code; });
    if (primary == std::end(kPrimaries))
        return 0;
    std::string tag = language + "_" + country;
    for (Country const &known : kCountries)
        if (tag == known.tag)
            return known.id;
    return MAKELANGID(primary->id, kSublangDefault);
}

std::string CMultiLanguage::LanguageTag(WORD language, bool withCountry)
{
    if (withCountry) {
        for (Country const &known : kCountries)
            if (known.id == language)
                return known.tag;
        return {};
    }
    for (Primary const &primary : kPrimaries)
        if (primary.id == PRIMARYLANGID(language))
            return primary.code;
    return {};
}

WORD CMultiLanguage::DetectLangID()
{
    char const *locale = first_set({"LC_ALL", "LC_MESSAGES", "LANG"});
    m_detected = locale ? LangIDFromLocale(locale) : 0;
    return m_detected;
}

WORD CMultiLanguage::DetectUILanguage()
{
    m_uiLanguages.clear();
    if (char const *list = std::getenv("LANGUAGE")) {
        std::istringstream entries(list);
        std::string entry;
        while (std::getline(entries, entry, ':'))
            if (WORD language = LangIDFromLocale(entry))
                m_uiLanguages.push_back(language);
    }
    if (m_uiLanguages.empty())
        if (char const *locale = first_set({"LC_ALL", "LC_MESSAGES", "LANG"}))
            if (WORD language = LangIDFromLocale(locale))
                m_uiLanguages.push_back(language);
    return GetUILanguage();
}

HINSTANCE CMultiLanguage::LoadLangResourceDLL(char const *modulePath, WORD langId)
{
    char const *title = "CMultiLanguage::LoadLangResourceDLL";
    if (!modulePath || !*modulePath || m_baseName.empty()) {
        cLog.PutLog(1, title, "no module path or library name");
        return nullptr;
    }
    std::vector<WORD> wanted;
    if (langId) {
        wanted.push_back(langId);
    } else {
        for (DWORD entry : m_languages)
            wanted.push_back(LOWORD(entry));
        wanted.insert(wanted.end(), m_uiLanguages.begin(), m_uiLanguages.end());
        wanted.push_back(m_detected);
    }
    std::filesystem::path folder = std::filesystem::path(modulePath).parent_path();
    std::vector<std::string> tried;
    for (WORD language : wanted) {
        for (bool withCountry : {true, false}) {
            std::string tag = language ? LanguageTag(language, withCountry) : "";
            if (tag.empty())
                continue;
            std::string path = (folder / ("lib" + m_baseName + "_lang_" + tag + ".so")).string();
            if (std::find(tried.begin(), tried.end(), path) != tried.end())
                continue;
            tried.push_back(path);
            std::error_code error;
            if (!std::filesystem::exists(path, error))
                continue;
            HMODULE library = LoadLibraryA(path.c_str());
            if (library && TessivIsResourceLibrary(library)) {
                cLog.PutLog(1, title, ("loaded " + path).c_str());
                return library;
            }
            cLog.PutLog(1, title, (path + (library ? " has no resource table" : " does not load")).c_str());
            if (library)
                FreeLibrary(library);
        }
    }
    cLog.PutLog(1, title, "no language library; the module's own resources are used");
    return nullptr;
}
