// Costs of the font catalogue on a folder of 1,000 TrueType files inside the test sandbox:
// reading names per file, listing the folder (walk, register, read, sort) against fc-scan of
// the same folder, and the heap each listed font holds.
//
//   build/release/bench_catalogue --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <malloc.h>
#include <map>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "fonts/font_list.h"
#include "fonts/naming_table.h"
#include "platform/linux_platform.h"
#include "support/fakes.h"
#include "support/font_fakes.h"
#include "support/sandbox.h"

namespace fs = std::filesystem;
using namespace fonzeta::test;

// Live bytes handed out by operator new, so the heap a record holds can be counted.
namespace {
std::atomic<long long> g_liveBytes{0};

void* Allocate(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    g_liveBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment)
{
    const auto align = static_cast<std::size_t>(alignment);
    void* p = std::aligned_alloc(align, (size + align - 1) / align * align);
    if (!p)
        throw std::bad_alloc();
    g_liveBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
}

void Free(void* p) noexcept
{
    if (!p)
        return;
    g_liveBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }
void* operator new(std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void operator delete(void* p, std::align_val_t) noexcept { Free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Free(p); }

namespace {

constexpr int kFontCount = 1000;

std::string g_folder;
std::vector<std::string> g_files;

// The real services of the program, with message boxes answered at once.
struct TServices {
    TServices() : Platform(Linux.Services()) { Platform.Dialogs = &Dialogs; }
    TLinuxPlatform Linux;
    TScriptedDialogs Dialogs;
    TPlatform Platform;
};

// 1,000 copies of the sandbox's test fonts, mostly DejaVu, every eighth one Nanum Gothic.
void MakeFontFolder()
{
    const std::vector<std::string> sources = {
        Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold(), Sandbox::DejaVuSerif(), Sandbox::DejaVuSans(),
        Sandbox::DejaVuSansBold(), Sandbox::DejaVuSerif(), Sandbox::DejaVuSans(), Sandbox::NanumGothic()};
    g_folder = Sandbox::Root() + "/bench-fonts";
    for (int i = 0; i < kFontCount; ++i) {
        const std::string sub = g_folder + "/group-" + std::to_string(i / 100);
        fs::create_directories(sub);
        char name[32];
        std::snprintf(name, sizeof name, "/font-%04d.ttf", i);
        fs::copy_file(sources[static_cast<size_t>(i) % sources.size()], sub + name);
        g_files.push_back(sub + name);
    }
    // Warm the page cache with one pass over every file's names.
    TScriptedDialogs dialogs;
    TPlatform platform;
    platform.Dialogs = &dialogs;
    for (const std::string& file : g_files) {
        TFontInfo font;
        ReadFontNames(font, file, platform);
    }
}

void BM_ReadFontNames(benchmark::State& state)
{
    TServices services;
    size_t next = 0;
    for (auto _ : state) {
        TFontInfo font;
        ReadFontNames(font, g_files[next], services.Platform);
        benchmark::DoNotOptimize(font.FullName.data());
        next = next + 1 == g_files.size() ? 0 : next + 1;
    }
    if (!services.Dialogs.Shown.empty())
        state.SkipWithError("a test font could not be read");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadFontNames)->Unit(benchmark::kMicrosecond);

// The least any name reader does per file: open, size, read the table directory, read the
// start of the naming table, close. It measures the machine, so that ReadFontNames can be
// judged against it when other work shares the processors.
void BM_BareNameTableReads(benchmark::State& state)
{
    size_t next = 0;
    std::array<unsigned char, 12 + 50 * 16> head{};
    std::array<unsigned char, 1024> names{};
    for (auto _ : state) {
        const int fd = open(g_files[next].c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        fstat(fd, &st);
        uint32_t offset = 0;
        if (pread(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size())) {
            const int tables = std::min(head[4] << 8 | head[5], 50);
            for (int i = 0; i < tables; ++i) {
                const unsigned char* record = &head[12 + 16 * static_cast<size_t>(i)];
                if (std::memcmp(record, "name", 4) == 0)
                    offset = static_cast<uint32_t>(record[8] << 24 | record[9] << 16 | record[10] << 8 | record[11]);
            }
        }
        benchmark::DoNotOptimize(pread(fd, names.data(), names.size(), offset));
        close(fd);
        next = next + 1 == g_files.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BareNameTableReads)->Unit(benchmark::kMicrosecond);

// One folder listing as the user starts it: walk, register, read names, sort. Giving the
// registrations back (when the user leaves the folder) is not timed.
void ListFolder(benchmark::State& state, const TPlatform& platform)
{
    TFontList list(platform, true);
    list.SetMode(flmFolder);
    list.SetFolder(g_folder);
    for (auto _ : state) {
        list.Refresh();
        state.PauseTiming();
        if (list.Count() != kFontCount)
            state.SkipWithError("not every font was listed");
        list.Clear();
        state.ResumeTiming();
    }
    state.counters["fonts"] = kFontCount;
}

void BM_FolderListing(benchmark::State& state)
{
    TServices services;
    ListFolder(state, services.Platform);
}
BENCHMARK(BM_FolderListing)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same listing with registration left out, as a listing that registers lazily (only
// the fonts that become visible) would cost.
void BM_FolderListingWithoutRegistration(benchmark::State& state)
{
    TServices services;
    TFakeFontTable table;
    services.Platform.FontTable = &table;
    ListFolder(state, services.Platform);
}
BENCHMARK(BM_FolderListingWithoutRegistration)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FcScan(benchmark::State& state)
{
    const std::string command = "fc-scan --format \"%{file}\\n\" '" + g_folder + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("fc-scan failed");
    }
}
BENCHMARK(BM_FcScan)->Unit(benchmark::kMillisecond)->UseRealTime();

// Heap held per listed font: the record, its texts and its slot in the list.
void BM_MemoryPerFont(benchmark::State& state)
{
    TServices services;
    long long perFont = 0;
    for (auto _ : state) {
        TFontList list(services.Platform, false);
        const long long before = g_liveBytes.load();
        for (const std::string& file : g_files) {
            auto font = std::make_unique<TFontInfo>();
            ReadFontNames(*font, file, services.Platform);
            list.Add(std::move(font));
        }
        perFont = (g_liveBytes.load() - before) / kFontCount;
    }
    state.counters["bytes_per_font"] = static_cast<double>(perFont);
    state.counters["sizeof_TFontInfo"] = sizeof(TFontInfo);
}
BENCHMARK(BM_MemoryPerFont)->Unit(benchmark::kMillisecond);

// Prints the medians of the folder listings against fc-scan after the usual report.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !FMedians.count(run.run_name.function_name)))
                FTimes[run.run_name.function_name] = run.GetAdjustedRealTime();
            if (median)
                FMedians[run.run_name.function_name] = true;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto fcScan = FTimes.find("BM_FcScan");
        if (fcScan == FTimes.end() || fcScan->second <= 0)
            return;
        for (const char* name : {"BM_FolderListing", "BM_FolderListingWithoutRegistration"}) {
            const auto it = FTimes.find(name);
            if (it != FTimes.end())
                std::cout << name << " / BM_FcScan: " << it->second / fcScan->second << "\n";
        }
    }

private:
    std::map<std::string, double> FTimes;
    std::map<std::string, bool> FMedians;
};

}  // namespace

int main(int argc, char** argv)
{
    Sandbox::Install();
    int result = 0;
    {
        int qtArgc = 1;
        QApplication app(qtArgc, argv);
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
            result = 1;
        } else {
            MakeFontFolder();
            TRatioReporter reporter;
            benchmark::RunSpecifiedBenchmarks(&reporter);
        }
        benchmark::Shutdown();
    }
    Sandbox::Remove();
    return result;
}
