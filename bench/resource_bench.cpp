// What the module's resources and profile cost where they are used often:
// the cursor a mouse move sets (switch, search along the chain, load) and
// profile reads and writes of a typical size, and a dock-state save.
#include <tessiv/platform/dock_state.h>
#include <tessiv/platform/resource_chain.h>
#include <tessiv/platform/win_app.h>
#include <tessiv/platform/winuser.h>
#include <tessiv/shell/resource.h>
#include <tessiv/shell/tessiv_app.h>
#include <tessiv/view/module_resource.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string.h>
#include <filesystem>
#include <unistd.h>

namespace {

void BM_CursorPerMove(benchmark::State &state)
{
    for (auto _ : state) {
        CModuleResourceSwitch resources;
        HCURSOR cursor = LoadCursorA(AfxFindResourceHandle(MAKEINTRESOURCE(IDC_TESSIV_ZOOM), RT_GROUP_CURSOR),
                                     MAKEINTRESOURCE(IDC_TESSIV_ZOOM));
        benchmark::DoNotOptimize(SetCursor(cursor));
    }
}
BENCHMARK(BM_CursorPerMove)->Name("cursor_per_move/ours");

// A profile of 20 sections of 10 entries, in a private folder.
struct Profile {
    Profile() : app("resource_bench")
    {
        std::string path = (std::filesystem::temp_directory_path() /
                            ("resource_bench_" + std::to_string(::getpid()) + ".ini"))
                               .string();
        app.m_pszProfileName = strdup(path.c_str());
        for (int section = 0; section < 20; ++section)
            for (int entry = 0; entry < 10; ++entry) {
                char name[32];
                std::snprintf(name, sizeof name, "Section%d", section);
                char key[32];
                std::snprintf(key, sizeof key, "Entry%d", entry);
                app.WriteProfileInt(name, key, section * entry);
            }
    }
    ~Profile() { std::remove(app.m_pszProfileName); }
    CWinApp app;
};

void BM_ProfileRead(benchmark::State &state)
{
    static Profile profile;
    for (auto _ : state)
        benchmark::DoNotOptimize(profile.app.GetProfileInt("Section19", "Entry9", 0));
}
BENCHMARK(BM_ProfileRead)->Name("profile_read/ours");

void BM_ProfileWrite(benchmark::State &state)
{
    static Profile profile;
    int value = 0;
    for (auto _ : state)
        profile.app.WriteProfileInt("Section10", "Entry5", ++value);
}
BENCHMARK(BM_ProfileWrite)->Name("profile_write/ours")->Iterations(50);

// The dock state of two docked tool bars and their dock bar, saved whole.
void BM_SaveDockState(benchmark::State &state)
{
    static Profile profile;
    CDockState dock;
    for (UINT id : {101u, 102u}) {
        auto *info = new CControlBarInfo;
        info->m_nBarID = id;
        info->m_bVisible = TRUE;
        info->m_bDocking = TRUE;
        info->m_uMRUDockID = 0xE81B;
        info->m_rectMRUDockPos = CRect(0, 0, 200, 28);
        dock.m_arrBarInfo.Add(info);
    }
    auto *bar = new CControlBarInfo;
    bar->m_nBarID = 0xE81B;
    bar->m_bDockBar = TRUE;
    bar->m_arrBarID = {0, 101, 102, 0};
    dock.m_arrBarInfo.Add(bar);
    for (auto _ : state)
        dock.SaveState("BenchLayout");
}
BENCHMARK(BM_SaveDockState)->Name("save_dock_state/ours")->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
