// Threads and the application object. CWinThread holds a thread's main
// window and runs its message loop; CWinApp is the one application object of
// the module, registered in the module state by its constructor.
#pragma once

#include <tessiv/platform/cmd_target.h>
#include <tessiv/platform/mfc_string.h>

class CWnd;
class TessivIniFile;

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)

public:
    CWinThread();
    ~CWinThread() override;

    // The thread's main window (may be null); not owned.
    CWnd *m_pMainWnd = nullptr;
    DWORD m_nThreadID = 0;

    virtual CWnd *GetMainWnd();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Runs the message loop until WM_QUIT, with idle processing whenever the
    // queue is empty; returns ExitInstance's result.
    virtual int Run();
    // Takes one message and dispatches it; FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // Idle processing; count 0 drops the temporary handle maps. Returns
    // TRUE when more idle time is wanted.
    virtual BOOL OnIdle(LONG lCount);
    // Gives the window under the message and its parents up to the main
    // window the chance to handle it first; TRUE when one did.
    virtual BOOL PreTranslateMessage(MSG *pMsg);

protected:
    MSG m_msgCur{};
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)

public:
    // Registers the object as the module's application and the current
    // thread's thread object. A non-null name is copied.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // Both strings are owned by the object (allocated with malloc, released
    // by the destructor with free); a host that replaces one frees the old.
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    HINSTANCE m_hInstance = nullptr;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The application profile, an INI file (platform/ini_file.h):
    // m_pszProfileName when it is an absolute path, else
    // TessivIniFile::DefaultPath(m_pszAppName) with its file name replaced by
    // m_pszProfileName when that is set.
    CString GetProfilePath() const;
    // The entry's value, or lpszDefault (null: empty) when the profile, the
    // section or the entry is missing or damaged.
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // Writes atomically; a null value removes the entry, a null entry the
    // section. FALSE, with the old profile intact, when the write fails.
    // Inside a TessivProfileBatch the file is written when the batch ends.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // The leading decimal number of the entry's value (0 when it starts with
    // none), or nDefault when the entry is missing or out of range.
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);

    // Chooses the display ("headless", "x11") before the first window is
    // made; TessivSelectDisplayBackend (display_backend.h) says more.
    BOOL SelectDisplayBackend(LPCTSTR lpszName);

private:
    friend class TessivProfileBatch;
    // The profile while a batch is open, and how many batches are open.
    TessivIniFile *m_pProfileBatch = nullptr;
    int m_nProfileBatchDepth = 0;
};

// Gathers the profile writes of the application made while it lives into
// one atomic write of the file when the outermost batch ends, so a save of
// many entries costs one rewrite and sync. Reads inside see the new values.
// Batches nest; the application must outlive them.
class TessivProfileBatch {
public:
    explicit TessivProfileBatch(CWinApp *app);
    ~TessivProfileBatch();
    TessivProfileBatch(TessivProfileBatch const &) = delete;
    TessivProfileBatch &operator=(TessivProfileBatch const &) = delete;

    // Ends the batch before its scope does; the outermost one writes the
    // file. FALSE, with the old profile intact, when that write fails; an
    // inner batch, an ended one or one without an application gives TRUE.
    BOOL End();

private:
    CWinApp *m_pApp;
};

// The module's application object, or null.
CWinApp *AfxGetApp();
// The calling thread's thread object: the one registered on this thread
// (the application on the thread that made it), or null.
CWinThread *AfxGetThread();
// Makes thread the calling thread's thread object; for an application object
// that must leave a host's registration in place.
void TessivSetCurrentThread(CWinThread *thread);
void AfxPostQuitMessage(int nExitCode);
