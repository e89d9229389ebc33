// Installing and uninstalling 200 copies of DejaVu Sans in a user font folder that already
// holds 1,000 fonts, inside the test sandbox, with the real file engine, font table, trash
// and fontconfig. The copy/trash part and fontconfig's one rescan are reported apart, per
// font and per run.
//
//   build/release/bench/bench_fileops --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>


#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "fileops/copying_form.h"
#include "fileops/deleting_form.h"
#include "fileops/file_copy.h"
#include "fileops/file_delete.h"
#include "platform/font_table.h"
#include "platform/fontconfig_store.h"
#include "platform/linux_platform.h"
#include "support/fakes.h"
#include "support/sandbox.h"
#include "support/bench_app.h"

namespace fs = std::filesystem;
using namespace fonzeta::test;

namespace {

constexpr int kInstalled = 1000;
constexpr int kCopies = 200;
std::vector<std::string> g_sources;

// CPU time of this thread in milliseconds: with many programs sharing the processors the
// wall-clock figures grow, these do not.
double CpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Milliseconds(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

// The folder already holds 1,000 fonts (hard links: they cost no room, fontconfig still
// reads each); the 200 files to install wait in a folder of their own.
void MakeFolders()
{
    const std::vector<std::string> fonts = {Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold(),
                                            Sandbox::DejaVuSerif()};
    const std::string user = Sandbox::UserFontFolder();
    for (int i = 0; i < kInstalled; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/base-%04d.ttf", i);
        fs::create_hard_link(fonts[static_cast<size_t>(i) % fonts.size()], user + name);
    }
    const std::string source = Sandbox::Root() + "/to-install";
    fs::create_directories(source);
    for (int i = 0; i < kCopies; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/sans-%03d.ttf", i);
        fs::copy_file(Sandbox::DejaVuSans(), source + name);
        g_sources.push_back(source + name);
    }
    TFontconfigStore().RescanFolder(user);
}

struct TServices {
    TServices() : Platform(Linux.Services()) { Platform.Dialogs = &Dialogs; }
    TLinuxPlatform Linux;
    TScriptedDialogs Dialogs;
    TPlatform Platform;
};

void BM_Install200(benchmark::State& state)
{
    TServices services;
    TfCopying window;
    const std::string user = Sandbox::UserFontFolder();
    double copyMs = 0;
    double rescanMs = 0;
    double copyCpu = 0;
    double rescanCpu = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpu = CpuMilliseconds();
        TFileCopy copy(services.Platform, window);
        copy.FFiles = g_sources;
        copy.Execute(user);
        const double copied = Milliseconds(start);
        const double cpuCopied = CpuMilliseconds();
        copyCpu += cpuCopied - cpu;
        const auto scan = std::chrono::steady_clock::now();
        services.Platform.InstalledFonts->RescanFolder(user);
        const double scanned = Milliseconds(scan);
        rescanCpu += CpuMilliseconds() - cpuCopied;
        state.SetIterationTime((copied + scanned) / 1000);
        copyMs += copied;
        rescanMs += scanned;
        if (static_cast<int>(copy.Copies().size()) != kCopies)
            state.SkipWithError("not every copy was installed");
        for (const auto& path : copy.Copies()) {
            services.Platform.FontTable->Unregister(path);
            fs::remove(path);
        }
        services.Platform.InstalledFonts->RescanFolder(user);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["copy_ms_per_font"] = copyMs / runs / kCopies;
    state.counters["rescan_ms"] = rescanMs / runs;
    state.counters["total_ms_per_font"] = (copyMs + rescanMs) / runs / kCopies;
    state.counters["copy_cpu_ms_per_font"] = copyCpu / runs / kCopies;
    state.counters["rescan_cpu_ms"] = rescanCpu / runs;
}
BENCHMARK(BM_Install200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Uninstall200(benchmark::State& state)
{
    TServices services;
    TfDeleting window;
    const std::string user = Sandbox::UserFontFolder();
    double trashMs = 0;
    double rescanMs = 0;
    double trashCpu = 0;
    for (auto _ : state) {
        std::vector<std::string> installed;
        for (const auto& source : g_sources) {
            const std::string target = user + "/" + fs::path(source).filename().string();
            fs::create_hard_link(source, target);
            installed.push_back(target);
        }
        services.Platform.InstalledFonts->RescanFolder(user);

        const auto start = std::chrono::steady_clock::now();
        const double cpu = CpuMilliseconds();
        TFileDelete remove(services.Platform, window);
        remove.FFiles = installed;
        remove.Execute();
        const double trashed = Milliseconds(start);
        trashCpu += CpuMilliseconds() - cpu;
        const auto scan = std::chrono::steady_clock::now();
        services.Platform.InstalledFonts->RescanFolder(user);
        const double scanned = Milliseconds(scan);
        state.SetIterationTime((trashed + scanned) / 1000);
        trashMs += trashed;
        rescanMs += scanned;
        for (int i = 0; i < kCopies; ++i)
            if (!remove.GetResult(i))
                state.SkipWithError("a font did not reach the trash");
        fs::remove_all(Sandbox::TrashFolder());
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["trash_ms_per_font"] = trashMs / runs / kCopies;
    state.counters["trash_cpu_ms_per_font"] = trashCpu / runs / kCopies;
    state.counters["rescan_ms"] = rescanMs / runs;
}
BENCHMARK(BM_Uninstall200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    fonzeta::bench::TBenchHooks hooks;
    hooks.SetUp = MakeFolders;
    return fonzeta::bench::RunBenchmarks(argc, argv, hooks);
}
