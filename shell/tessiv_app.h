// The module's application object. libtessiv.so carries one CTessivApp as
// a static object: when the library is loaded its InitInstance finds and
// loads the language resource library and publishes it as the module
// resource instance (view/module_resource.h); when it is unloaded its
// ExitInstance frees the library again.
#pragma once

#include <tessiv/platform/win_app.h>

class CTessivApp : public CWinApp {
public:
    // No application name. When a host's application object already exists,
    // it stays the one AfxGetApp and AfxGetThread return: the module's
    // object serves the module, as it would in a module state of its own.
    CTessivApp();
    // Frees the resource library if it is still loaded.
    ~CTessivApp() override;

    // Detects the user's language when no languages are configured, loads
    // the matching resource library from beside the host executable and
    // publishes it; returns TRUE whether or not a library was found.
    BOOL InitInstance() override;
    // Frees the resource library; returns CWinApp::ExitInstance().
    int ExitInstance() override;

    // The language resource library loaded by InitInstance, or null.
    HINSTANCE m_hResourceLibrary = nullptr;

private:
    struct Registration {
        CWinApp *app;
        CWinThread *thread;
    };
    static Registration current_registration();
    // Restores what was registered before this object's base registered it.
    void keep_registration(Registration const &previous);
    explicit CTessivApp(Registration previous);
};

// The module's application object (the static object of libtessiv.so).
CTessivApp &TessivModuleApp();
