// The framework's resource search: the resource chain of loaded libraries
// and AfxFindResourceHandle, which looks in the current resource handle,
// then the executable, then each library of the chain.
#pragma once

#include <tessiv/platform/module_state.h>

// A library linked into the resource chain for the lifetime of the object;
// libraries are searched in the order they were linked. Not copyable.
class CDynLinkLibrary {
public:
    // hResource is where the library's resources live (often hModule).
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    virtual ~CDynLinkLibrary();
    CDynLinkLibrary(CDynLinkLibrary const &) = delete;
    CDynLinkLibrary &operator=(CDynLinkLibrary const &) = delete;

    HINSTANCE m_hModule;
    HINSTANCE m_hResource;
};

// The module that holds the resource: the current resource handle when it is
// set and holds it, else the executable (the module state's instance
// handle), else the first library of the chain that holds it. When none
// does, the current resource handle (possibly null).
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

HINSTANCE AfxLoadLibrary(LPCTSTR lpszModuleName);
BOOL AfxFreeLibrary(HINSTANCE hInstLib);
