// CTessivApp and the module's start-up: the static application object, then
// the object whose construction and destruction stand for the library's
// load and unload. Both live in this file, so the language rules order
// them: the application exists before InitInstance runs and after
// ExitInstance has run, for a host that links the library and for one that
// loads it with dlopen alike.
#include <tessiv/shell/tessiv_app.h>

#include <tessiv/platform/module_state.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/siblings/fendral/log.h>
#include <tessiv/siblings/fendral/multi_language.h>
#include <tessiv/view/module_resource.h>

#include <memory>

CTessivApp::Registration CTessivApp::current_registration() { return {AfxGetApp(), AfxGetThread()}; }

CTessivApp::CTessivApp() : CTessivApp(current_registration()) {}

CTessivApp::CTessivApp(Registration previous) : CWinApp(nullptr) { keep_registration(previous); }

void CTessivApp::keep_registration(Registration const &previous)
{
    if (!previous.app)
        return;
    AFX_MODULE_STATE *state = AfxGetModuleState();
    state->m_pCurrentWinApp = previous.app;
    state->m_lpszCurrentAppName = previous.app->m_pszAppName;
    TessivSetCurrentThread(previous.thread);
}

CTessivApp::~CTessivApp()
{
    if (m_hResourceLibrary) {
        AfxFreeLibrary(m_hResourceLibrary);
        m_hResourceLibrary = nullptr;
    }
}

BOOL CTessivApp::InitInstance()
{
    if (cfg_languages.GetLanguages().empty()) {
        cfg_languages.DetectLangID();
        cfg_languages.DetectUILanguage();
    }
    // The module resource instance is still null here, so this names the
    // host executable, beside which the language libraries are looked for.
    char path[260];
    GetModuleFileNameA(TessivGetModuleResourceInstance(), path, sizeof path);
    m_hResourceLibrary = cfg_languages.LoadLangResourceDLL(path, 0);
    if (m_hResourceLibrary)
        TessivSetModuleResourceInstance(m_hResourceLibrary);
    cLog.PutLog(1, "CTessivApp::InitInstance", m_hResourceLibrary ? "language library loaded" : "no language library");
    CWinApp::InitInstance();
    return TRUE;
}

int CTessivApp::ExitInstance()
{
    if (m_hResourceLibrary) {
        AfxFreeLibrary(m_hResourceLibrary);
        m_hResourceLibrary = nullptr;
        cLog.PutLog(1, "CTessivApp::ExitInstance", "language library freed");
    } else {
        cLog.PutLog(1, "CTessivApp::ExitInstance", "no language library to free");
    }
    return CWinApp::ExitInstance();
}

namespace {

// Not exported: a host's own global of the same name must not take its place.
CTessivApp module_app;

// The library's start-up and shut-down: InitInstance, then the module joins
// the resource chain; on unload it leaves the chain and ExitInstance runs.
class ModuleStartup {
public:
    ModuleStartup()
    {
        module_app.InitInstance();
        HINSTANCE self = TessivModuleFromAddress(&module_app);
        chain_link_ = std::make_unique<CDynLinkLibrary>(self, self);
    }
    ~ModuleStartup()
    {
        chain_link_.reset();
        module_app.ExitInstance();
    }
    ModuleStartup(ModuleStartup const &) = delete;
    ModuleStartup &operator=(ModuleStartup const &) = delete;

private:
    std::unique_ptr<CDynLinkLibrary> chain_link_;
};

ModuleStartup module_startup;

}  // namespace

CTessivApp &TessivModuleApp() { return module_app; }
