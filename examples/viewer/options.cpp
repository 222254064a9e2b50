#include "options.h"

#include <cerrno>
#include <cstdlib>

namespace viewer {
namespace {

bool ParseInt(char const *text, int low, int high, int &value)
{
    char *end = nullptr;
    errno = 0;
    long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseDouble(char const *text, double &value)
{
    char *end = nullptr;
    errno = 0;
    double parsed = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !(parsed > 0) || parsed > 1e12)
        return false;
    value = parsed;
    return true;
}

}  // namespace

bool ParseOptions(int argc, char const *const *argv, Options &options, std::string &error)
{
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        auto value = [&](char const *&text) {
            if (i + 1 >= argc) {
                error = argument + " needs a value";
                return false;
            }
            text = argv[++i];
            return true;
        };
        char const *text = nullptr;
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--out") {
            if (!value(text))
                return false;
            options.out_dir = text;
        } else if (argument == "--profile") {
            if (!value(text))
                return false;
            options.profile_path = text;
        } else if (argument == "--triangles") {
            if (!value(text))
                return false;
            if (!ParseInt(text, 1000, 20000000, options.triangles)) {
                error = std::string("--triangles: '") + text + "' is not a count from 1000 to 20000000";
                return false;
            }
        } else if (argument == "--size") {
            if (!value(text))
                return false;
            std::string size = text;
            auto x = size.find('x');
            if (x == std::string::npos || !ParseInt(size.substr(0, x).c_str(), 16, 8192, options.width) ||
                !ParseInt(size.substr(x + 1).c_str(), 16, 8192, options.height)) {
                error = "--size: '" + size + "' is not WIDTHxHEIGHT with each from 16 to 8192";
                return false;
            }
        } else if (argument == "--unit-scale") {
            if (!value(text))
                return false;
            if (!ParseDouble(text, options.unit_scale)) {
                error = std::string("--unit-scale: '") + text + "' is not a positive number";
                return false;
            }
        } else if (argument == "--decimals") {
            if (!value(text))
                return false;
            if (!ParseInt(text, 0, 15, options.decimals)) {
                error = std::string("--decimals: '") + text + "' is not a count from 0 to 15";
                return false;
            }
        } else if (!argument.empty() && argument[0] == '-') {
            error = "unknown option " + argument + " (see --help)";
            return false;
        } else if (!options.mesh_path.empty()) {
            error = "only one mesh file may be given (" + options.mesh_path + ", then " + argument + ")";
            return false;
        } else {
            options.mesh_path = argument;
        }
    }
    return true;
}

std::string HelpText(char const *program)
{
    return std::string("usage: ") + program + " [options] [MESH]\n" +
           "\n"
           "Shows a mesh in a main frame with a tool bar and a status bar, around a\n"
           "document frame split into two views of the model (the standard pose left,\n"
           "the top view right). With an X display (DISPLAY) and without --headless it\n"
           "opens that frame in a window, from the layout the profile keeps, and saves\n"
           "the layout there when the window is closed; otherwise it runs a\n"
           "scripted session of real mouse messages: Alt+left drag rotates, Alt+right\n"
           "drag pans, the wheel zooms, a left click picks the face under it, a middle\n"
           "double click fits the model, the frame is resized; then the tool bar hides\n"
           "and shows the right pane, the right pane switches view, a tool-bar button\n"
           "sets the mouse mode, the tool bar is dragged to float and back, and the\n"
           "split bar is moved. After each step it writes a PNG snapshot (the left\n"
           "view, or the whole frame) and prints the status bar's texts.\n"
           "\n"
           "At the end the splitter layout and the tool bar's dock state go to the\n"
           "profile; the next run with the same profile starts from them (and writes\n"
           "restored.png).\n"
           "\n"
           "  MESH               an .obj, .ply or .stl file; without one, a built-in\n"
           "                     model made in code\n"
           "  --headless         run the scripted session even when a display is\n"
           "                     available\n"
           "  --out DIR          folder for the snapshots (default viewer-snapshots;\n"
           "                     created when missing)\n"
           "  --profile FILE     the profile the layout is kept in (default\n"
           "                     viewer-profile.ini in the --out folder)\n"
           "  --triangles N      at least N triangles in the built-in model\n"
           "                     (default 300000)\n"
           "  --size WxH         client size of the frame in pixels (default 800x600)\n"
           "  --unit-scale S     world units per document unit in the status bar\n"
           "                     (default 1)\n"
           "  --decimals N       decimals of the status bar's numbers (default 2)\n"
           "  --help, -h         this text\n"
           "\n"
           "A file that cannot be read prints the reader's message and exits with 1;\n"
           "a bad command line exits with 2.\n";
}

}  // namespace viewer
