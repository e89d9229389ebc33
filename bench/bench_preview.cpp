// Speed and memory of the preview list: full paints of a 1920 x 1080 preview (from the cache
// of finished samples and without it), scrolling through 5,000 fonts a page and a line at a
// time, and the heap that a list of 5,000 fonts takes.
//
// Run on a release build with
//   build/release/bench_preview --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
// With --write-images=FOLDER it writes pictures of the preview instead (16 and 72 points,
// plain and anti-aliased, as preview-*.png) and runs no benchmark.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>

#include "fonts/font_info.h"
#include "fonts/font_list.h"
#include "fonts/naming_table.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"
#include "support/sandbox.h"

namespace fs = std::filesystem;
using fonzeta::test::Sandbox;

namespace {

const std::string KoreanSample = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 123 \xED\x95\x9C\xEA\xB8\x80\xEB\xB3\xB4\xEA\xB8\xB0";

std::vector<std::string> SandboxFonts()
{
    return {Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold(), Sandbox::DejaVuSerif(),
            Sandbox::NanumGothic()};
}

std::unique_ptr<TFontInfo> ReadFont(const std::string& path)
{
    auto font = std::make_unique<TFontInfo>();
    ReadNamingTable(*font, path, 0x0409);
    return font;
}

// A preview as the main window sets it up, of the given client size.
struct TPreview {
    fonzeta::test::TFakeLocale Locale;
    TPlatform Platform;
    std::unique_ptr<TFonzetaFontListView> View;

    TPreview(int width, int height)
    {
        Platform.Locale = &Locale;
        View = std::make_unique<TFonzetaFontListView>(Platform);
        View->SetBorderStyle(bsNone);
        View->SetFontColor(clNavy);
        View->SetColor(clWhite);
        View->SetText(KoreanSample);
        View->resize(width, height);
        View->show();
        QApplication::processEvents();
    }

    // Fills the list with the files, in order, in one batch.
    void Fill(const std::vector<std::string>& files)
    {
        View->Items().BeginUpdate();
        for (const std::string& file : files)
            View->Items().Add(ReadFont(file));
        View->Items().EndUpdate();
    }

    // One full paint of the client area, as the window system asks for it.
    QImage Paint()
    {
        QImage image(View->viewport()->size(), QImage::Format_RGB32);
        View->viewport()->render(&image);
        return image;
    }
};

// The sandbox fonts over and over, enough for a 1080-pixel page at 4 points.
std::vector<std::string> PageOfFonts()
{
    std::vector<std::string> files;
    for (int i = 0; i < 40; ++i)
        files.push_back(SandboxFonts()[i % 4]);
    return files;
}

// Every benchmark of a frame runs at 16 and 72 points, plain and anti-aliased.
void SizesAndModes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"pt", "aa"})
        ->Args({16, 0})
        ->Args({16, 1})
        ->Args({72, 0})
        ->Args({72, 1})
        ->Unit(benchmark::kMillisecond);
}

void FullPaint(benchmark::State& state, bool cached)
{
    TPreview preview(1920, 1080);
    preview.View->SetFontSize(static_cast<int>(state.range(0)));
    preview.View->SetAntiAlias(state.range(1) != 0);
    if (!cached)
        preview.View->SampleCache().SetMaxBytes(0);
    preview.Fill(PageOfFonts());
    preview.Paint();
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        preview.View->viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(preview.View->PageSize()) + " rows");
}

void BM_FullPaint_Cached(benchmark::State& state) { FullPaint(state, true); }
BENCHMARK(BM_FullPaint_Cached)
    ->Apply(SizesAndModes);

void BM_FullPaint_Uncached(benchmark::State& state) { FullPaint(state, false); }
BENCHMARK(BM_FullPaint_Uncached)
    ->Apply(SizesAndModes);

// 5,000 distinct font files (hard links to the sandbox fonts), so that every font of a page
// is read from its own file as in a real folder listing.
class TFiveThousandFonts {
public:
    static constexpr int Count = 5000;

    TFiveThousandFonts() : FFolder(Sandbox::Root() + "/bench-fonts")
    {
        fs::create_directories(FFolder);
        const std::vector<std::string> fonts = SandboxFonts();
        for (int i = 0; i < Count; ++i) {
            const std::string& from = fonts[static_cast<std::size_t>(i) % fonts.size()];
            char name[32];
            std::snprintf(name, sizeof name, "/font-%04d.ttf", i);
            const std::string path = FFolder + name;
            if (!fs::exists(path))
                fs::create_hard_link(from, path);
            FFiles.push_back(path);
        }
    }
    const std::vector<std::string>& Files() const { return FFiles; }

private:
    std::string FFolder;
    std::vector<std::string> FFiles;
};

// Scrolls through the 5,000 fonts by `rows` rows per frame, painting each frame.
void Scroll(benchmark::State& state, TScrollCode step)
{
    static const TFiveThousandFonts fonts;
    TPreview preview(1920, 1080);
    preview.View->SetFontSize(static_cast<int>(state.range(0)));
    preview.View->SetAntiAlias(state.range(1) != 0);
    preview.Fill(fonts.Files());
    QImage image(1920, 1080, QImage::Format_RGB32);
    preview.View->viewport()->render(&image);
    for (auto _ : state) {
        if (preview.View->TopItem() >= preview.View->Items().Count() - preview.View->PageSize())
            preview.View->SetTopItem(0);
        else
            preview.View->WMVScroll(step);
        preview.View->viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(preview.View->PageSize()) + " rows a page");
}

void BM_ScrollPageByPage(benchmark::State& state) { Scroll(state, scPageDown); }
BENCHMARK(BM_ScrollPageByPage)
    ->Apply(SizesAndModes);

// One row comes in per frame, as with the wheel; the other rows come from the cache.
void BM_ScrollLineByLine(benchmark::State& state) { Scroll(state, scLineDown); }
BENCHMARK(BM_ScrollLineByLine)
    ->Apply(SizesAndModes);

std::size_t HeapInUse()
{
    malloc_trim(0);
    return mallinfo2().uordblks;
}

// The heap of the records of a preview list of 5,000 fonts (names read from the files),
// measured as the growth of the allocated bytes while the list is filled.
void BM_HeapOfList(benchmark::State& state)
{
    static const TFiveThousandFonts fonts;
    TPreview preview(1920, 1080);
    std::size_t bytes = 0;
    for (auto _ : state) {
        preview.View->Items().Clear();
        const std::size_t before = HeapInUse();
        preview.Fill(fonts.Files());
        bytes = HeapInUse() - before;
    }
    state.counters["heap_MiB"] = static_cast<double>(bytes) / (1 << 20);
    state.counters["bytes_per_font"] = static_cast<double>(bytes) / TFiveThousandFonts::Count;
}
BENCHMARK(BM_HeapOfList)->Unit(benchmark::kMillisecond)->Iterations(3);

// A picture of the preview with the sandbox fonts twice, a font known only by name between
// them, two marks and the second font current.
bool WriteImage(const std::string& path, int points, bool antiAlias, TFontStyles style)
{
    TPreview preview(1000, points == 16 ? 600 : 900);
    preview.View->SetFontSize(points);
    preview.View->SetAntiAlias(antiAlias);
    preview.View->SetFontStyle(style);
    std::vector<std::string> files = SandboxFonts();
    preview.View->Items().BeginUpdate();
    for (const std::string& file : files)
        preview.View->Items().Add(ReadFont(file));
    preview.View->Items().Add("DejaVu Serif");
    for (const std::string& file : files)
        preview.View->Items().Add(ReadFont(file));
    preview.View->Items().EndUpdate();
    preview.View->Items().Fonts(1)->Selected = true;
    preview.View->Items().Fonts(2)->Selected = true;
    preview.View->SetItemIndex(1);
    if (!preview.Paint().save(QString::fromStdString(path))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

int WriteImages(const std::string& folder)
{
    bool written = true;
    for (const int points : {16, 72})
        for (const bool antiAlias : {false, true})
            written &= WriteImage(folder + "/preview-" + std::to_string(points) + "pt-" +
                                      (antiAlias ? "aa" : "plain") + ".png",
                                  points, antiAlias, {});
    for (const bool antiAlias : {false, true})
        written &= WriteImage(folder + "/preview-16pt-" + (antiAlias ? "aa" : "plain") +
                                  "-bold-italic-underline.png",
                              16, antiAlias, fsBold | fsItalic | fsUnderline);
    return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Sandbox::Install();
    std::string imageFolder;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--write-images=", 15) == 0)
            imageFolder = argv[i] + 15;
    int result = 0;
    {
        QApplication app(argc, argv);
        if (!imageFolder.empty()) {
            result = WriteImages(imageFolder);
        } else {
            benchmark::Initialize(&argc, argv);
            if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
                result = 1;
            } else {
                benchmark::RunSpecifiedBenchmarks();
                benchmark::Shutdown();
            }
        }
    }
    Sandbox::Remove();
    return result;
}
