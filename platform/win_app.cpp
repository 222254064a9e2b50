// Thread objects, the application object and the message loop.
#include <tessiv/platform/cdc.h>
#include <tessiv/platform/cmenu.h>
#include <tessiv/platform/cwnd.h>
#include <tessiv/platform/frame_wnd.h>
#include <tessiv/platform/module_state.h>
#include <tessiv/platform/win_app.h>

#include <cstdlib>
#include <cstring>

namespace {

thread_local CWinThread *current_thread = nullptr;

char *copy_of(char const *text)
{
    if (!text)
        return nullptr;
    std::size_t size = std::strlen(text) + 1;
    auto *copy = static_cast<char *>(std::malloc(size));
    if (copy)
        std::memcpy(copy, text, size);
    return copy;
}

}  // namespace

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

CWinThread::CWinThread() : m_nThreadID(GetCurrentThreadId()) {}

CWinThread::~CWinThread()
{
    if (current_thread == this)
        current_thread = nullptr;
}

CWnd *CWinThread::GetMainWnd() { return m_pMainWnd; }
BOOL CWinThread::InitInstance() { return TRUE; }
int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

int CWinThread::Run()
{
    for (;;) {
        MSG waiting;
        for (LONG idle_count = 0; !PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE);)
            if (!OnIdle(idle_count++))
                break;
        if (!PumpMessage())
            return ExitInstance();
    }
}

BOOL CWinThread::PumpMessage()
{
    if (!GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        TranslateMessage(&m_msgCur);
        DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount == 0) {
        CWnd::DeleteTempMap();
        CDC::DeleteTempMap();
        CMenu::DeleteTempMap();
        CGdiObject::DeleteTempMap();
        // Frames run their delayed layout now.
        CWnd *main = GetMainWnd();
        if (main && main->m_hWnd) {
            main->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
        }
    }
    return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG *pMsg)
{
    if (!pMsg)
        return FALSE;
    HWND main_window = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND window = pMsg->hwnd; window; window = GetParent(window)) {
        CWnd *object = CWnd::FromHandlePermanent(window);
        if (object && object->PreTranslateMessage(pMsg))
            return TRUE;
        if (window == main_window)
            break;
    }
    return FALSE;
}

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(copy_of(lpszAppName))
{
    AFX_MODULE_STATE *state = AfxGetModuleState();
    state->m_pCurrentWinApp = this;
    state->m_lpszCurrentAppName = m_pszAppName;
    m_hInstance = state->m_hCurrentInstanceHandle;
    current_thread = this;
}

CWinApp::~CWinApp()
{
    AFX_MODULE_STATE *state = AfxGetModuleState();
    if (state->m_pCurrentWinApp == this) {
        state->m_pCurrentWinApp = nullptr;
        state->m_lpszCurrentAppName = nullptr;
    }
    std::free(const_cast<char *>(m_pszAppName));
    std::free(const_cast<char *>(m_pszProfileName));
}

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return CWinThread::ExitInstance(); }

CWinApp *AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }
CWinThread *AfxGetThread() { return current_thread; }
void TessivSetCurrentThread(CWinThread *thread) { current_thread = thread; }
void AfxPostQuitMessage(int nExitCode) { PostQuitMessage(nExitCode); }
