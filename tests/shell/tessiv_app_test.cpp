// The module's application object: start-up and shut-down order for a
// linking and a loading host, the language library chosen from the
// environment, the resource search and the resource switch.
#include <tessiv/shell/tessiv_app.h>

#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/shell/resource.h>
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/siblings/fendral/multi_language.h>
#include <tessiv/view/module_resource.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct ProbeRun {
    std::string output;
    std::vector<std::string> log;  // "title: text" in order
};

ProbeRun run_probe(char const *program, std::string const &environment, char const *argument = "")
{
    std::string log_file = testing::TempDir() + "probe_" + std::to_string(::getpid()) + ".log";
    std::remove(log_file.c_str());
    std::string command = "env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG " + environment +
                          " TESSIV_LOG=" + log_file + " " + program + " " + argument;
    ProbeRun run;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            run.output += buffer;
        EXPECT_EQ(pclose(pipe), 0) << command;
    }
    std::ifstream log(log_file);
    for (std::string line; std::getline(log, line);)
        if (std::size_t level = line.find("] "); level != std::string::npos)
            run.log.push_back(line.substr(level + 2));
    std::remove(log_file.c_str());
    return run;
}

// Position of the first log line that starts with text, or -1.
long position(ProbeRun const &run, std::string const &text)
{
    for (std::size_t index = 0; index < run.log.size(); ++index)
        if (run.log[index].rfind(text, 0) == 0)
            return static_cast<long>(index);
    return -1;
}

TEST(TessivAppTest, LinkedHostGetsTheLanguageOfItsEnvironment)
{
    ProbeRun german = run_probe(LINKED_PROBE, "LANG=de_DE.UTF-8");
    EXPECT_EQ(german.output, "menu Ansicht\nstring Deutsch\nsource lang\ncursor149 1@9,8 8@0,0\n");
    long init = position(german, "CTessivApp::InitInstance: language library loaded");
    long begins = position(german, "probe: main begins");
    long ends = position(german, "probe: main ends");
    long exit = position(german, "CTessivApp::ExitInstance: language library freed");
    EXPECT_TRUE(init >= 0 && init < begins && begins < ends && ends < exit)
        << "InitInstance before main, ExitInstance after: " << init << " " << begins << " " << ends << " " << exit;

    ProbeRun english = run_probe(LINKED_PROBE, "LANG=C LANGUAGE=en_US:de");
    EXPECT_EQ(english.output, "menu View\nstring English\nsource lang\ncursor149 1@9,8 8@0,0\n");

    // No library for the language, or one without a table: the host's own
    // resources first (its string), then the module's (menu and cursors).
    for (char const *environment : {"LANG=ja_JP.UTF-8", "LANG=fr_FR.UTF-8", "LANG=C"}) {
        ProbeRun own = run_probe(LINKED_PROBE, environment);
        EXPECT_EQ(own.output, "menu View\nstring Host\nsource module\ncursor149 1@9,8 8@0,0\n")
            << environment;
        EXPECT_GE(position(own, "CTessivApp::InitInstance: no language library"), 0) << environment;
        EXPECT_GE(position(own, "CTessivApp::ExitInstance: no language library to free"), 0) << environment;
    }
    EXPECT_GE(position(run_probe(LINKED_PROBE, "LANG=fr_FR"), "CMultiLanguage::LoadLangResourceDLL: "), 0);
}

TEST(TessivAppTest, LoadingHostSeesTheSameOrderAndConfiguredLanguagesSkipDetection)
{
    ProbeRun run = run_probe(DLOPEN_PROBE, "LANG=de_DE.UTF-8");
    long begins = position(run, "probe: main begins");
    long init = position(run, "CTessivApp::InitInstance: language library loaded");
    long loaded = position(run, "probe: loaded");
    long exit = position(run, "CTessivApp::ExitInstance: language library freed");
    long unloaded = position(run, "probe: unloaded");
    EXPECT_TRUE(begins >= 0 && begins < init && init < loaded && loaded < exit && exit < unloaded)
        << begins << " " << init << " " << loaded << " " << exit << " " << unloaded;
    EXPECT_EQ(run.output, "detected 1031 1031\n") << "0x0407 detected from LANG";

    ProbeRun configured = run_probe(DLOPEN_PROBE, "LANG=en_US LANGUAGE=en", "configure");
    EXPECT_EQ(configured.output, "detected 0 0\n") << "a configured language list skips detection";
    EXPECT_GE(position(configured, "CMultiLanguage::LoadLangResourceDLL: loaded"), 0);
    EXPECT_NE(configured.log.at(position(configured, "CMultiLanguage::LoadLangResourceDLL: loaded"))
                  .find("libtessiv_lang_de.so"),
              std::string::npos);
}

TEST(TessivAppTest, ResourceSwitchRestoresThePreviousHandleAlsoOnException)
{
    HINSTANCE saved_instance = TessivGetModuleResourceInstance();
    HINSTANCE german = LoadLibraryA(GERMAN_LIBRARY);
    HINSTANCE host_handle = GetModuleHandleA(nullptr);
    AfxSetResourceHandle(host_handle);
    TessivSetModuleResourceInstance(german);
    try {
        CModuleResourceSwitch outer;
        EXPECT_EQ(AfxGetResourceHandle(), german);
        {
            TessivSetModuleResourceInstance(nullptr);
            CModuleResourceSwitch inner;
            EXPECT_EQ(AfxGetResourceHandle(), nullptr) << "no language library switches to null";
        }
        EXPECT_EQ(AfxGetResourceHandle(), german) << "the inner switch gives back the outer handle";
        throw std::runtime_error("passes the switch");
    } catch (std::runtime_error const &) {
    }
    EXPECT_EQ(AfxGetResourceHandle(), host_handle);
    TessivSetModuleResourceInstance(saved_instance);
    FreeLibrary(german);
}

TEST(TessivAppTest, ResourceSearchTakesCurrentThenExecutableThenTheChain)
{
    HINSTANCE saved = AfxGetResourceHandle();
    HINSTANCE german = LoadLibraryA(GERMAN_LIBRARY);
    HINSTANCE english = LoadLibraryA(ENGLISH_LIBRARY);
    HINSTANCE module = TessivModuleFromAddress(reinterpret_cast<void const *>(&TessivModuleApp));
    auto menu_title = [] {
        CMenu menu;
        CString title;
        if (menu.LoadMenu(IDR_TESSIV_VIEW_MENU))
            menu.GetMenuString(0, title, MF_BYPOSITION);
        return std::string(title.GetString());
    };

    AfxSetResourceHandle(german);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TESSIV_VIEW_MENU), RT_MENU), german);
    EXPECT_EQ(menu_title(), "Ansicht");
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TESSIV_VIEW_MENU), RT_MENU), module)
        << "the executable has no table, the module is in the chain";
    EXPECT_EQ(menu_title(), "View");
    {
        CDynLinkLibrary later(english, english);
        EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_TESSIV_VIEW_MENU), RT_MENU), module)
            << "libraries are searched in the order they joined";
    }
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(999), RT_MENU), nullptr) << "not found: the current handle";
    AfxSetResourceHandle(english);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(999), RT_MENU), english);
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(999));
    EXPECT_EQ(missing.m_hMenu, nullptr);
    AfxSetResourceHandle(saved);
    FreeLibrary(english);
    FreeLibrary(german);
}

TEST(TessivAppTest, ExitInstanceAndDestructionFreeTheLibraryOnce)
{
    HINSTANCE saved_instance = TessivGetModuleResourceInstance();
    std::vector<DWORD> saved_languages = cfg_languages.GetLanguages();
    CWinApp *registered = AfxGetApp();
    cfg_languages.SetLanguages({0x0407});
    cLog.Clear();
    {
        CTessivApp app;
        EXPECT_EQ(app.m_pszAppName, nullptr);
        EXPECT_EQ(AfxGetApp(), registered) << "the application already registered stays registered";
        EXPECT_EQ(app.m_hResourceLibrary, nullptr);
        EXPECT_TRUE(app.InitInstance());
        ASSERT_NE(app.m_hResourceLibrary, nullptr);
        EXPECT_EQ(TessivGetModuleResourceInstance(), app.m_hResourceLibrary);
        app.ExitInstance();
        EXPECT_EQ(app.m_hResourceLibrary, nullptr);
    }
    int freed = 0;
    for (CLog::Entry const &entry : cLog.Entries())
        freed += entry.text == "language library freed";
    EXPECT_EQ(freed, 1);
    cfg_languages.SetLanguages(saved_languages);
    TessivSetModuleResourceInstance(saved_instance);
}

}  // namespace
