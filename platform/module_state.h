// The module state: the instance handle of the module, the handle that
// resources are loaded from, and the module's application object. There is
// one module state in the process; it belongs to the user-interface thread.
#pragma once

#include <tessiv/platform/windef.h>

class CWinApp;

struct AFX_MODULE_STATE {
    // The module's own instance; the executable's unless a host sets another.
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    // Where resources are looked up first; starts as the instance handle.
    HINSTANCE m_hCurrentResourceHandle = nullptr;
    // The application object, set by the CWinApp constructor.
    CWinApp *m_pCurrentWinApp = nullptr;
    LPCSTR m_lpszCurrentAppName = nullptr;
};

AFX_MODULE_STATE *AfxGetModuleState();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AfxGetInstanceHandle();
