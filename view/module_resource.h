// The module resource instance and the resource switch. The module's
// application object (shell/tessiv_app.h) publishes the language resource
// library here; the view and the frame load their cursors and bar state
// with the framework's current resource handle switched to it.
#pragma once

#include <tessiv/platform/windef.h>

// The module resource instance: null when the module is loaded, set once a
// language resource library is loaded, never cleared afterwards.
HINSTANCE TessivGetModuleResourceInstance();
void TessivSetModuleResourceInstance(HINSTANCE instance);

// For the lifetime of the object the framework's current resource handle is
// the module resource instance; the remembered handle comes back when the
// object goes, also when an exception passes. With no language library the
// switch sets a null handle, and AfxFindResourceHandle then searches the
// executable and the resource chain, which holds the module.
class CModuleResourceSwitch {
public:
    CModuleResourceSwitch();
    ~CModuleResourceSwitch();
    CModuleResourceSwitch(CModuleResourceSwitch const &) = delete;
    CModuleResourceSwitch &operator=(CModuleResourceSwitch const &) = delete;

private:
    HINSTANCE previous_;
};
