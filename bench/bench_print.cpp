// Printing speed and size: 1,000 rows of sample sheets written as a PDF at 600 dpi, for
// fonts Qt resolves to their own files (embedded in the PDF) and for look-alike copies that
// are drawn from their files as outlines. Reports time and kilobytes per page.
//
// Run on a release build with
//   build/release/bench_print --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QPrinter>

#include "fonts/font_list.h"
#include "fonts/naming_table.h"
#include "platform/linux_platform.h"
#include "preview/raw_font_cache.h"
#include "print/print_job.h"
#include "print/sample_faces.h"
#include "print/sheet_painter.h"
#include "support/fake_printer.h"
#include "support/look_alike.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"
#include "support/bench_app.h"

using fonzeta::test::Sandbox;

namespace {

constexpr int Rows = 1000;

void PrintRows(benchmark::State& state, const std::vector<std::string>& files)
{
    fonzeta::test::TTempFolder folder;
    const std::string pdf = folder / "bench.pdf";
    TLinuxPlatform linux;
    TFontList fonts(TPlatform{}, false);
    for (int i = 0; i < Rows; ++i) {
        auto font = std::make_unique<TFontInfo>();
        ReadNamingTable(*font, files[i % files.size()], 0x0409);
        fonts.Add(std::move(font));
    }
    fonzeta::test::TFakePrinterService service(pdf, 600);
    QPrinter& printer = service.Printer();
    TSheetTexts texts;
    texts.Sample = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 1234567890";
    const TSheetMetrics metrics = MeasureSheet(printer, texts.FontSize);
    const TSheetLayout layout(metrics, TSheetLayout::InitialMargins(metrics.DpiX, metrics.DpiY),
                              fonts.Count());
    const std::vector<int> pages = layout.PagesToPrint(-1, -1, pfAll);
    std::uintmax_t bytes = 0;
    for (auto _ : state) {
        TRawFontCache cache;
        TSampleFaces faces(linux.Services().FontTable, cache,
                           SheetFont(texts.FontSize, metrics.DpiY).pixelSize());
        const TSheetPainter painter(layout, texts, fonts, faces);
        const std::string failure =
            PrintPages(printer, pages, [&](QPainter& p, int page) { painter.PaintPage(p, page); });
        if (!failure.empty()) {
            state.SkipWithError(failure.c_str());
            break;
        }
        bytes = std::filesystem::file_size(pdf);
    }
    const double count = static_cast<double>(pages.size());
    state.counters["pages"] = count;
    state.counters["ms_per_page"] = benchmark::Counter(
        count / 1000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["KB_per_page"] = static_cast<double>(bytes) / 1024.0 / count;
}

void BM_PrintEmbedded(benchmark::State& state)
{
    PrintRows(state, {Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold(), Sandbox::DejaVuSerif(),
                      Sandbox::NanumGothic()});
}
BENCHMARK(BM_PrintEmbedded)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrintOutlines(benchmark::State& state)
{
    fonzeta::test::TTempFolder folder;
    PrintRows(state, {fonzeta::test::SerifNamedSans(folder)});
}
BENCHMARK(BM_PrintOutlines)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return fonzeta::bench::RunBenchmarks(argc, argv);
}
