// The resource chain, the resource search along it, and the framework
// classes' resource loading (CBitmap::LoadBitmap, CMenu::LoadMenu).
#include <tessiv/platform/resource_chain.h>

#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/gdi_object.h>
#include <tessiv/platform/winbase.h>
#include <tessiv/platform/wingdi.h>
#include <tessiv/platform/winuser.h>

#include <algorithm>
#include <vector>

namespace {

// Links in order; the objects are owned by whoever created them.
std::vector<CDynLinkLibrary *> &resource_chain()
{
    static auto *chain = new std::vector<CDynLinkLibrary *>;
    return *chain;
}

}  // namespace

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource) : m_hModule(hModule), m_hResource(hResource)
{
    resource_chain().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() { std::erase(resource_chain(), this); }

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    AFX_MODULE_STATE *state = AfxGetModuleState();
    HINSTANCE current = state->m_hCurrentResourceHandle;
    if (current && FindResourceA(current, lpszName, lpszType))
        return current;
    HINSTANCE executable = state->m_hCurrentInstanceHandle ? state->m_hCurrentInstanceHandle : GetModuleHandleA(nullptr);
    if (executable != current && FindResourceA(executable, lpszName, lpszType))
        return executable;
    for (CDynLinkLibrary const *library : resource_chain())
        if (library->m_hResource && FindResourceA(library->m_hResource, lpszName, lpszType))
            return library->m_hResource;
    return current;
}

HINSTANCE AfxLoadLibrary(LPCTSTR lpszModuleName) { return LoadLibraryA(lpszModuleName); }

BOOL AfxFreeLibrary(HINSTANCE hInstLib) { return FreeLibrary(hInstLib); }

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName)
{
    HBITMAP bitmap = LoadBitmapA(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName);
    if (!bitmap)
        return FALSE;
    if (!Attach(bitmap)) {
        ::DeleteObject(bitmap);
        return FALSE;
    }
    return TRUE;
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    HMENU menu = LoadMenuA(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName);
    if (!menu)
        return FALSE;
    if (!Attach(menu)) {
        ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }
