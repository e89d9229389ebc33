// Speed of the favourites on a file of 200 groups holding 10,000 fonts: LoadFavorites of the
// real main window (file, pane and menu), the file alone, and adding 1,000 fonts to one
// group (one write of the file, then the reload).
//
// Run on a release build with
//   build/release/bench_favorites --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>


#include "app/main_form.h"
#include "favorites/favorites.h"
#include "platform/linux_platform.h"
#include "support/fakes.h"
#include "support/sandbox.h"
#include "support/bench_app.h"

using fonzeta::test::Sandbox;

namespace {

constexpr int GroupCount = 200;
constexpr int FontsPerGroup = 50;
constexpr int AddedCount = 1000;

std::string Folder()
{
    return Sandbox::Root() + "/bench-favorites";
}

std::string FavFile()
{
    return Folder() + "/installed.fav";
}

void WriteFile()
{
    std::string text;
    for (int g = 0; g < GroupCount; ++g) {
        text += "[Group " + std::to_string(g) + "]\r\n";
        for (int f = 0; f < FontsPerGroup; ++f)
            text += "Bench Font " + std::to_string(g * FontsPerGroup + f) + "=/usr/share/fonts/bench/" +
                    std::to_string(f) + ".ttf\r\n";
    }
    std::ofstream(FavFile(), std::ios::binary) << text;
}

// The real main window with the favourites pane open.
struct TWindow {
    TLinuxPlatform Linux;
    fonzeta::test::TScriptedDialogs Dialogs;
    TPlatform Services;
    std::unique_ptr<TMainForm> Form;

    TWindow()
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
        std::filesystem::create_directories(Folder());
        std::ofstream(Folder() + "/fonzeta.ini") << "[Option]\r\nViewMode=1\r\nLeft=2\r\n";
        WriteFile();
        Form = std::make_unique<TMainForm>(Services, Folder());
        Form->show();
    }
};

TWindow& Window()
{
    static TWindow window;
    return window;
}

void BM_LoadFavorites(benchmark::State& state)
{
    TWindow& window = Window();
    WriteFile();
    for (auto _ : state)
        window.Form->LoadFavorites();
    state.counters["items"] = GroupCount * (FontsPerGroup + 1);
}
BENCHMARK(BM_LoadFavorites)->Unit(benchmark::kMillisecond);

void BM_ReadFileOnly(benchmark::State& state)
{
    WriteFile();
    TFavorites favorites(FavFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(favorites.Load());
}
BENCHMARK(BM_ReadFileOnly)->Unit(benchmark::kMillisecond);

std::vector<std::string> AddedNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < AddedCount; ++i)
        names.push_back("Added Font " + std::to_string(i));
    return names;
}

void BM_AddThousandFontsToAGroup(benchmark::State& state)
{
    TWindow& window = Window();
    const std::vector<std::string> names = AddedNames();
    const std::vector<std::string> files(names.size(), "/usr/share/fonts/bench/added.ttf");
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile();
        state.ResumeTiming();
        window.Form->AddFontsToGroup("Group 100", names, files);
    }
}
BENCHMARK(BM_AddThousandFontsToAGroup)->Unit(benchmark::kMillisecond);

void BM_AddThousandFontsFileOnly(benchmark::State& state)
{
    const std::vector<std::string> names = AddedNames();
    const std::vector<std::string> files(names.size(), "/usr/share/fonts/bench/added.ttf");
    TFavorites favorites(FavFile());
    std::vector<std::string> leftOut;
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile();
        state.ResumeTiming();
        benchmark::DoNotOptimize(favorites.AddFonts("Group 100", names, files, leftOut));
    }
}
BENCHMARK(BM_AddThousandFontsFileOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // The window goes before the application.
    fonzeta::bench::TBenchHooks hooks;
    hooks.TearDown = [] { Window().Form.reset(); };
    return fonzeta::bench::RunBenchmarks(argc, argv, hooks);
}
