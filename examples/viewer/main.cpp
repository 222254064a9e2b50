// The viewer: loads a mesh file (or makes the built-in model) and shows it
// in a frame with a 3D view and a status bar. See README.md.
#include "model.h"
#include "options.h"
#include "session.h"

#include <tessiv/tessiv.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

// Files above this size show their progress while they load.
constexpr std::uintmax_t kProgressFileSize = 4u << 20;

}  // namespace

int main(int argc, char **argv)
{
    viewer::Options options;
    std::string error;
    if (!viewer::ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "viewer: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(viewer::HelpText(argv[0]).c_str(), stdout);
        return 0;
    }

    auto started = std::chrono::steady_clock::now();
    viewer::Model model;
    if (options.mesh_path.empty()) {
        model = viewer::MakeBuiltInModel(options.triangles);
        std::printf("built-in model");
    } else {
        std::error_code ignored;
        bool large = std::filesystem::file_size(options.mesh_path, ignored) > kProgressFileSize;
        auto progress = [&](double fraction) {
            if (large)
                std::fprintf(stderr, "\rloading %s: %3d%%", options.mesh_path.c_str(),
                             static_cast<int>(fraction * 100));
        };
        try {
            model = viewer::LoadMeshFile(options.mesh_path, progress);
        } catch (std::exception const &exception) {
            if (large)
                std::fputc('\n', stderr);
            std::fprintf(stderr, "viewer: %s\n", exception.what());
            return 1;
        }
        if (large)
            std::fputc('\n', stderr);
        std::printf("%s", options.mesh_path.c_str());
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(": %d triangles, %d vertices, %zu pick groups of up to %d faces (%.2f s)\n", model.FaceCount(),
                model.VertexCount(), model.groups.size(), viewer::kFacesPerGroup, seconds);
    std::fflush(stdout);

    // On a display the viewer opens a real window; --headless, or no display,
    // runs the scripted session.
    if (!options.headless && TessivSelectDisplayBackend("x11"))
        return viewer::RunInteractive(model, options);
    TessivSelectDisplayBackend("headless");
    return viewer::RunSession(model, options, stdout);
}
