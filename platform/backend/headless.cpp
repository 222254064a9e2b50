// Headless backend: windows live in memory only, input is what tests and
// scripts send or post (message.cpp), GDI surfaces are the screen, and GL
// is EGL on Mesa's surfaceless platform (headless_egl.cpp). Every window
// hook is empty on purpose: the in-memory tree is the whole display.
#include <tessiv/platform/backend/display.h>

namespace tessiv_platform::backend {
namespace {

class Headless final : public Backend {
public:
    char const *name() const override { return "headless"; }
    std::vector<PixelFormat> pixel_formats() override { return backend::pixel_formats(); }
    Context *create_context(int format) override { return backend::create_context(format); }
    bool share_objects(Context *source, Context *target) override
    {
        return backend::share_objects(source, target);
    }
    void destroy_context(Context *context) override { backend::destroy_context(context); }
    bool make_current(Context *context, Window &window) override
    {
        return backend::make_current(context, window);
    }
    bool release_current() override { return backend::release_current(); }
    bool swap_buffers(Window &window) override { return backend::swap_buffers(window); }
    void destroy_drawable(Window &window) override { backend::destroy_drawable(window); }
    bool read_front_buffer(Window &window, TessivFrontBuffer *out) override
    {
        return backend::read_front_buffer(window, out);
    }
    void *proc_address(char const *name) override { return backend::proc_address(name); }
    void set_fault(TessivDisplayFault fault) override { backend::set_fault(fault); }
    void set_swap_method(TessivSwapMethod method) override { backend::set_swap_method(method); }
};

}  // namespace

Backend *make_headless()
{
    static auto *instance = new Headless;
    return instance;
}

}  // namespace tessiv_platform::backend
