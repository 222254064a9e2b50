#include <tessiv/tests/x11/x11_session.h>

#include <tessiv/platform/display_backend.h>
#include <tessiv/platform/winuser.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

std::string self_path()
{
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace

bool StartXvfb(XvfbServer *server, std::string *why)
{
    int ready[2];
    if (pipe(ready) != 0) {
        *why = "pipe failed";
        return false;
    }
    std::string fd = std::to_string(ready[1]);
    char const *argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                          "-nolisten", "tcp", "-noreset", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int failed = posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char **>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    if (failed) {
        close(ready[0]);
        *why = "Xvfb is not installed (tools/install-deps installs it)";
        return false;
    }
    // Xvfb writes its display number when it accepts connections.
    std::string number;
    auto deadline = Clock::now() + std::chrono::seconds(20);
    for (;;) {
        pollfd descriptor{ready[0], POLLIN, 0};
        if (poll(&descriptor, 1, MillisecondsLeft(deadline)) <= 0)
            break;
        char c;
        if (read(ready[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(ready[0]);
    if (number.empty()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        *why = "Xvfb did not come up";
        return false;
    }
    server->pid = pid;
    server->display = ":" + number;
    return true;
}

void StopXvfb(XvfbServer *server)
{
    if (server->pid <= 0)
        return;
    kill(server->pid, SIGTERM);
    waitpid(server->pid, nullptr, 0);
    server->pid = 0;
}

X11Session &X11Session::Get()
{
    static auto *session = new X11Session;
    return *session;
}

X11Session::X11Session()
{
    std::string why_xvfb;
    if (StartXvfb(&server_, &why_xvfb)) {
        setenv("DISPLAY", server_.display.c_str(), 1);
        std::atexit([] { StopXvfb(&Get().server_); });
    } else if (!std::getenv("DISPLAY")) {
        why_ = why_xvfb + " and DISPLAY is not set";
        return;
    }
    if (!TessivSelectDisplayBackend("x11")) {
        why_ = std::string("the x11 backend does not start on ") + std::getenv("DISPLAY");
        return;
    }
    probe_ = XOpenDisplay(nullptr);
    int event_base, error_base, major, minor;
    if (probe_ && !XTestQueryExtension(probe_, &event_base, &error_base, &major, &minor)) {
        XCloseDisplay(probe_);
        probe_ = nullptr;
        why_ = "the X server has no XTEST extension";
    }
}

void X11Session::Settle(int quiet_ms) const
{
    if (probe_)
        XSync(probe_, False);
    auto quiet_until = Clock::now() + std::chrono::milliseconds(quiet_ms);
    auto give_up = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < quiet_until && Clock::now() < give_up) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            quiet_until = Clock::now() + std::chrono::milliseconds(quiet_ms);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

void X11Session::MoveTo(int x, int y) const
{
    XTestFakeMotionEvent(probe_, -1, x, y, CurrentTime);
    Settle();
}

void X11Session::Button(unsigned button, bool down) const
{
    XTestFakeButtonEvent(probe_, button, down ? True : False, CurrentTime);
    Settle();
}

void X11Session::Key(unsigned long keysym, bool down) const
{
    XTestFakeKeyEvent(probe_, XKeysymToKeycode(probe_, keysym), down ? True : False, CurrentTime);
    Settle();
}

void X11Session::CloseByManager(XWindowId window) const
{
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(probe_, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(probe_, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(probe_, window, False, NoEventMask, &close);
    Settle();
}

XWindowId X11Session::FindTopLevel(char const *title) const
{
    ::Window root_return, parent, *children = nullptr;
    unsigned count = 0;
    ::Window found = 0;
    if (!XQueryTree(probe_, DefaultRootWindow(probe_), &root_return, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char *name = nullptr;
        if (XFetchName(probe_, children[i], &name) && name) {
            if (std::strcmp(name, title) == 0)
                found = children[i];
            XFree(name);
        }
    }
    XFree(children);
    return found;
}

bool RoleProcess::Start(char const *role, std::vector<std::string> const &environment)
{
    std::vector<std::string> entries = environment;
    entries.push_back(std::string("TESSIV_X11_ROLE=") + role);
    return StartProgram(self_path(), {}, entries);
}

bool RoleProcess::StartProgram(std::string const &path, std::vector<std::string> const &arguments,
                               std::vector<std::string> const &environment)
{
    int out[2];
    if (pipe(out) != 0)
        return false;
    std::vector<std::string> entries = environment;
    // The given entries replace the inherited ones of the same names.
    auto overridden = [&](char const *entry) {
        for (std::string const &given : entries)
            if (std::strncmp(entry, given.c_str(), given.find('=') + 1) == 0)
                return true;
        return false;
    };
    for (char **e = environ; *e; ++e)
        if (!overridden(*e))
            entries.emplace_back(*e);
    std::vector<char *> envp;
    for (auto &entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> words{path};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (auto &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    int failed = posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (failed) {
        close(out[0]);
        pid_ = 0;
        return false;
    }
    output_ = out[0];
    return true;
}

bool RoleProcess::ReadLine(std::string *line, int timeout_ms)
{
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (auto end = pending_.find('\n'); end != std::string::npos) {
            *line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return true;
        }
        pollfd descriptor{output_, POLLIN, 0};
        if (output_ < 0 || poll(&descriptor, 1, MillisecondsLeft(deadline)) <= 0)
            return false;
        char buffer[4096];
        ssize_t got = read(output_, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
}

int RoleProcess::Wait(int timeout_ms)
{
    if (pid_ <= 0)
        return -1;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = 0;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

RoleProcess::~RoleProcess()
{
    if (pid_ > 0)
        Wait(0);
    if (output_ >= 0)
        close(output_);
}
