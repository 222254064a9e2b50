// Test helper: registers (once per name) a window class whose windows keep
// one device context, as GL views need.
#pragma once

#include <tessiv/platform/winuser.h>

#include <set>
#include <string>

inline bool RegisterGlWindowClass(char const *name)
{
    static std::set<std::string> registered;
    if (registered.count(name) != 0)
        return true;
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.lpszClassName = name;
    window_class.style = CS_OWNDC;
    if (RegisterClassA(&window_class) == 0)
        return false;
    registered.insert(name);
    return true;
}
