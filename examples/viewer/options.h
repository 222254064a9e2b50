// The viewer's command line.
#pragma once

#include <string>

namespace viewer {

struct Options {
    std::string mesh_path;          // empty: the built-in model
    bool headless = false;          // run the scripted session
    bool help = false;
    std::string out_dir = "viewer-snapshots";
    std::string profile_path;       // empty: viewer-profile.ini in out_dir
    int triangles = 300000;         // size of the built-in model
    int width = 800;                // client size of the frame
    int height = 600;
    double unit_scale = 1.0;        // world units per document unit in the status bar
    int decimals = 2;               // decimals of the status bar's numbers
};

// Fills options from argv; false with a message naming the bad argument.
bool ParseOptions(int argc, char const *const *argv, Options &options, std::string &error);
// What --help prints.
std::string HelpText(char const *program);

}  // namespace viewer
