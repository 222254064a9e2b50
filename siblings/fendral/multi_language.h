// Language configuration of the utility library: CMultiLanguage and the
// process-wide cfg_languages. It knows which languages the host configured,
// detects the user's language from the environment, and finds and loads the
// language resource library that matches (the naming rule is in
// siblings/fendral/README.md).
#pragma once

#include <tessiv/platform/windef.h>

#include <string>
#include <vector>

// Language ids are Win32 LANGIDs: primary language in the low 10 bits,
// sublanguage (country) above, e.g. 0x0407 German (Germany), 0x0409 English
// (United States); 0 means none.
constexpr WORD MAKELANGID(WORD primary, WORD sublanguage)
{
    return static_cast<WORD>((sublanguage << 10) | primary);
}
constexpr WORD PRIMARYLANGID(WORD language) { return static_cast<WORD>(language & 0x3ff); }
constexpr WORD SUBLANGID(WORD language) { return static_cast<WORD>(language >> 10); }

class CMultiLanguage {
public:
    CMultiLanguage() = default;

    // The configured-language list: 4-byte entries with a language id in the
    // low word, in order of preference; empty until a host configures it.
    std::vector<DWORD> const &GetLanguages() const { return m_languages; }
    void SetLanguages(std::vector<DWORD> languages) { m_languages = std::move(languages); }
    void AddLanguage(WORD language) { m_languages.push_back(language); }

    // The language of the user's locale (LC_ALL, LC_MESSAGES, then LANG);
    // remembered and returned, 0 for "C", "POSIX", unset or unknown.
    WORD DetectLangID();
    // The user-interface language: the first known entry of LANGUAGE (a
    // colon-separated list, all of whose known entries are remembered in
    // order), else as DetectLangID. Remembered and returned.
    WORD DetectUILanguage();
    WORD GetDetectedLangID() const { return m_detected; }
    WORD GetUILanguage() const { return m_uiLanguages.empty() ? 0 : m_uiLanguages.front(); }

    // Loads the language resource library for langId (0: the configured
    // languages in order, then the detected user-interface languages, then
    // the detected locale language) from the folder of modulePath. Returns
    // the first that loads and carries a sound resource table, or null with a
    // trace line when none does.
    HINSTANCE LoadLangResourceDLL(char const *modulePath, WORD langId);

    // The libraries are named lib<base>_lang_<tag>.so; the base is "tessiv"
    // unless a host sets another.
    void SetResourceBaseName(char const *base) { m_baseName = base ? base : ""; }
    std::string const &GetResourceBaseName() const { return m_baseName; }

    // "de_DE" or "de" for a language id (empty when unknown), and the id of
    // a POSIX locale name such as "de_AT.UTF-8@euro" (0 when unknown).
    static std::string LanguageTag(WORD language, bool withCountry);
    static WORD LangIDFromLocale(std::string const &locale);

private:
    std::vector<DWORD> m_languages;
    WORD m_detected = 0;
    std::vector<WORD> m_uiLanguages;
    std::string m_baseName = "tessiv";
};

// The language configuration the module reads when it starts.
extern CMultiLanguage cfg_languages;
