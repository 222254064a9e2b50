// The module state of the process.
#include <tessiv/platform/module_state.h>
#include <tessiv/platform/winbase.h>

AFX_MODULE_STATE *AfxGetModuleState()
{
    static AFX_MODULE_STATE *state = [] {
        auto *fresh = new AFX_MODULE_STATE;
        fresh->m_hCurrentInstanceHandle = GetModuleHandleA(nullptr);
        fresh->m_hCurrentResourceHandle = fresh->m_hCurrentInstanceHandle;
        return fresh;
    }();
    return state;
}

HINSTANCE AfxGetResourceHandle() { return AfxGetModuleState()->m_hCurrentResourceHandle; }
void AfxSetResourceHandle(HINSTANCE hInstResource) { AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource; }
HINSTANCE AfxGetInstanceHandle() { return AfxGetModuleState()->m_hCurrentInstanceHandle; }
