// Test support for the X11 backend: a private Xvfb server per test process
// (or the display $DISPLAY names when Xvfb is not installed), the x11
// backend selected on it, a second connection of the test's own for Xlib
// queries and XTest input, and the helper processes some tests start
// (main in x11_session.cpp runs a role instead of the tests when
// TESSIV_X11_ROLE is set).
#pragma once

#include <tessiv/platform/windef.h>

#include <string>
#include <sys/types.h>
#include <vector>

// Xlib's own headers define macros (None, Bool, Status) that clash with
// ours and the test framework's, so they come last in each test file.
typedef struct _XDisplay Display;
using XWindowId = unsigned long;

struct XvfbServer {
    pid_t pid = 0;
    std::string display;  // ":N"
};
// Starts Xvfb on a free display number at 1280 x 1024 x 24; false (with
// why) when it is not installed or does not come up.
bool StartXvfb(XvfbServer *server, std::string *why);
void StopXvfb(XvfbServer *server);

// The process's display, made ready on first use: the x11 backend runs on
// it and probe() is the test's own connection. When ready() is false, why()
// says so and the tests skip.
class X11Session {
public:
    static X11Session &Get();
    bool ready() const { return probe_ != nullptr; }
    std::string const &why() const { return why_; }
    Display *probe() const { return probe_; }

    // Dispatches the process's messages until none came for quiet_ms (and
    // at least the probe's requests reached the server).
    void Settle(int quiet_ms = 60) const;
    // XTest input at screen coordinates, each followed by Settle().
    void MoveTo(int x, int y) const;
    void Button(unsigned button, bool down) const;
    void Key(unsigned long keysym, bool down) const;
    // Asks window to close as a window manager's close button does
    // (WM_DELETE_WINDOW), then Settle().
    void CloseByManager(XWindowId window) const;
    // The top-level X window whose title is title, or 0.
    XWindowId FindTopLevel(char const *title) const;

private:
    X11Session();
    Display *probe_ = nullptr;
    std::string why_;
    XvfbServer server_;
};

#define SKIP_WITHOUT_X11()                                                       \
    do {                                                                         \
        if (!X11Session::Get().ready())                                          \
            GTEST_SKIP() << "no X display: " << X11Session::Get().why();         \
    } while (0)

// This test program run again with TESSIV_X11_ROLE=role and the extra
// environment entries ("NAME=value"), its standard output piped back.
class RoleProcess {
public:
    bool Start(char const *role, std::vector<std::string> const &environment);
    // Another program with its arguments, the same way.
    bool StartProgram(std::string const &path, std::vector<std::string> const &arguments,
                      std::vector<std::string> const &environment);
    // The next line of its output (without the newline); false when none
    // came within timeout_ms.
    bool ReadLine(std::string *line, int timeout_ms);
    // Its exit code, or -1 when it did not end within timeout_ms (killed).
    int Wait(int timeout_ms);
    ~RoleProcess();

private:
    pid_t pid_ = 0;
    int output_ = -1;
    std::string pending_;
};

// The roles, run in the child (x11_view_test.cpp, x11_display_test.cpp).
int HeadlessReferenceRole();
int LoseDisplayRole();
int NoDisplayRole();
