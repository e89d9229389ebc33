// Costs of the font catalogue on a folder of 15,000 distinct font files inside the test
// sandbox: reading names per file against the least system calls any reader makes, listing
// the folder (walk, read, sort) against fc-scan of the same folder, the main window from its
// construction to the first painted preview of that folder, and the heap each font holds.
//
//   build/release/bench_catalogue --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <malloc.h>
#include <map>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/main_form.h"
#include "fonts/font_list.h"
#include "fonts/scan_window.h"
#include "preview/font_list_view.h"
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

// Notes the first paint of the widget it watches.
class TPaintWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return QObject::eventFilter(watched, event);
    }
    bool Painted = false;
};

constexpr int kFontCount = 15000;

std::string g_folder;
std::vector<std::string> g_files;

// The real services of the program, with message boxes answered at once.
struct TServices {
    TServices() : Platform(Linux.Services()) { Platform.Dialogs = &Dialogs; }
    TLinuxPlatform Linux;
    TScriptedDialogs Dialogs;
    TPlatform Platform;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Printable ASCII subsets of the sandbox fonts (made by fontTools), so that 15,000 files
// fit a temporary folder comfortably.
std::vector<std::string> SmallFonts()
{
    const std::string folder = Sandbox::Root() + "/bench-sources";
    fs::create_directories(folder);
    std::vector<std::string> fonts;
    for (const std::string& source : {Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold(),
                                      Sandbox::DejaVuSerif(), Sandbox::NanumGothic()}) {
        const std::string out = folder + "/" + fs::path(source).filename().string();
        const std::string command = "/usr/bin/python3 -m fontTools.subset '" + source +
                                    "' --unicodes=U+0020-007E --output-file='" + out + "'";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("fontTools could not subset " + source);
        fonts.push_back(ReadFile(out));
    }
    return fonts;
}

// Writes `bytes` with every UTF-16 "DejaVu" or "Nanum" of its names turned into a letter
// and the number `n`, so that each file is a distinct font with names of its own.
void WritePatched(std::string bytes, int n, const std::string& path)
{
    for (const std::string& word : {std::string("DejaVu"), std::string("Nanum")}) {
        std::string utf16;
        for (const char c : word)
            utf16 += std::string{'\0', c};
        char digits[16];
        std::snprintf(digits, sizeof digits, "%0*d", static_cast<int>(word.size()) - 1, n);
        std::string patch;
        patch += std::string{'\0', word[0]};
        for (const char* d = digits; *d; ++d)
            patch += std::string{'\0', *d};
        for (size_t at = bytes.find(utf16); at != std::string::npos; at = bytes.find(utf16, at + 1))
            bytes.replace(at, utf16.size(), patch);
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

// 15,000 distinct font files in 150 folders, mostly DejaVu, every fourth one Nanum Gothic.
void MakeFontFolder()
{
    const std::vector<std::string> sources = SmallFonts();
    g_folder = Sandbox::Root() + "/bench-fonts";
    for (int i = 0; i < kFontCount; ++i) {
        const std::string sub = g_folder + "/group-" + std::to_string(i / 100);
        fs::create_directories(sub);
        char name[32];
        std::snprintf(name, sizeof name, "/font-%05d.ttf", i);
        WritePatched(sources[static_cast<size_t>(i) % sources.size()], i, sub + name);
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

// One folder listing as the user starts it: walk, read names, sort (registration waits
// until something draws by family). Clearing the list is not timed.
void BM_FolderListing(benchmark::State& state)
{
    TServices services;
    TFontList list(services.Platform, true);
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
BENCHMARK(BM_FolderListing)->Unit(benchmark::kMillisecond)->UseRealTime();

// The main window as the program opens it on the folder: reading the settings, listing the
// folder with the scan window, copying into the preview, until the preview has painted.
void BM_StartToFirstPaintedPreview(benchmark::State& state)
{
    const std::string settings = Sandbox::Root() + "/bench-settings";
    fs::create_directories(settings);
    std::ofstream(settings + "/fonzeta.ini", std::ios::binary)
        << "[Option]\r\nViewMode=2\r\nPath=" << g_folder << "\r\n";
    for (auto _ : state) {
        TServices services;
        TfScan scan;
        TMainForm form(services.Platform, settings);
        form.SetScanWindow(&scan);
        TPaintWatch watch;
        form.FontView->installEventFilter(&watch);
        form.show();
        while (!watch.Painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        if (form.SourceList->Count() != kFontCount)
            state.SkipWithError("not every font was listed");
        form.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstPaintedPreview)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The program's first run (no settings yet, so it lists the installed fonts) with 16,000
// fonts installed for the user and indexed by fontconfig beforehand, until the preview has
// painted. Registered last: the installed fonts would slow every other window above.
void BM_FirstRunWithInstalledFonts(benchmark::State& state)
{
    static bool installed = false;
    if (!installed) {
        const std::string user = Sandbox::UserFontFolder();
        fs::create_directory_symlink(g_folder, user + "/bench-fonts");
        const std::vector<std::string> sources = SmallFonts();
        fs::create_directories(user + "/more");
        for (int i = kFontCount; i < 16000; ++i)
            WritePatched(sources[static_cast<size_t>(i) % sources.size()], i,
                         user + "/more/font-" + std::to_string(i) + ".ttf");
        if (std::system("fc-cache > /dev/null 2>&1") != 0)
            state.SkipWithError("fc-cache failed");
        installed = true;
    }
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string settings = Sandbox::Root() + "/first-run";
        fs::remove_all(settings);
        fs::create_directories(settings);
        state.ResumeTiming();
        TServices services;
        TfScan scan;
        TMainForm form(services.Platform, settings);
        form.SetScanWindow(&scan);
        TPaintWatch watch;
        form.FontView->installEventFilter(&watch);
        form.show();
        while (!watch.Painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        count = form.SourceList->Count();
        form.close();
        state.ResumeTiming();
    }
    state.counters["fonts"] = count;
}

void BM_FcScan(benchmark::State& state)
{
    const std::string command = "fc-scan --format \"%{file}\\n\" '" + g_folder + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("fc-scan failed");
    }
}
BENCHMARK(BM_FcScan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

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
BENCHMARK(BM_FirstRunWithInstalledFonts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

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
        const auto names = FTimes.find("BM_ReadFontNames");
        const auto floor = FTimes.find("BM_BareNameTableReads");
        if (names != FTimes.end() && floor != FTimes.end() && floor->second > 0)
            std::cout << "BM_ReadFontNames / BM_BareNameTableReads: " << names->second / floor->second << "\n";
        const auto fcScan = FTimes.find("BM_FcScan");
        if (fcScan == FTimes.end() || fcScan->second <= 0)
            return;
        const auto it = FTimes.find("BM_FolderListing");
        if (it != FTimes.end())
            std::cout << "BM_FolderListing / BM_FcScan: " << it->second / fcScan->second << "\n";
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
