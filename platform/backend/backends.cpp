// The list of backends built into the library and the choice among them:
// the name given to select() before the first window or GL call, else the
// TESSIV_BACKEND environment variable, else headless. A backend that cannot
// start (an X11 backend without a display) is reported; select() then fails
// and leaves the choice open, while TESSIV_BACKEND falls back to headless,
// so a host started from a plain shell still runs.
#include <tessiv/platform/backend/backend.h>
#include <tessiv/platform/display_backend.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>

namespace tessiv_platform::backend {
namespace {

std::mutex choice_mutex;
std::atomic<Backend *> chosen{nullptr};

Backend *make(std::string const &name)
{
    if (name == "headless")
        return make_headless();
#if defined(TESSIV_HAVE_X11)
    if (name == "x11")
        return make_x11();
#endif
    std::string text = "unknown display backend \"" + name + "\"";
#if defined(TESSIV_HAVE_X11)
    text += " (known: headless, x11)";
#else
    text += " (known: headless; this build has no X11)";
#endif
    TessivReportDiagnostic("selecting the display backend", text.c_str());
    return nullptr;
}

}  // namespace

Backend &active()
{
    if (Backend *backend = chosen.load(std::memory_order_acquire))
        return *backend;
    std::lock_guard<std::mutex> lock(choice_mutex);
    if (Backend *backend = chosen.load(std::memory_order_relaxed))
        return *backend;
    Backend *backend = nullptr;
    if (char const *name = std::getenv("TESSIV_BACKEND"); name && *name)
        backend = make(name);
    if (!backend)
        backend = make_headless();
    chosen.store(backend, std::memory_order_release);
    return *backend;
}

bool select(char const *name)
{
    std::lock_guard<std::mutex> lock(choice_mutex);
    if (Backend *current = chosen.load(std::memory_order_relaxed)) {
        if (name && std::string(name) == current->name())
            return true;
        TessivReportDiagnostic("selecting the display backend",
                               "too late: the display is in use by the first window or GL call");
        return false;
    }
    if (!name)
        return false;
    Backend *backend = make(name);
    if (!backend)
        return false;
    chosen.store(backend, std::memory_order_release);
    return true;
}

}  // namespace tessiv_platform::backend

BOOL TessivSelectDisplayBackend(LPCSTR name)
{
    return tessiv_platform::backend::select(name) ? TRUE : FALSE;
}

LPCSTR TessivDisplayBackendName() { return tessiv_platform::backend::active().name(); }
