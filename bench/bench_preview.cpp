// Speed and memory of the preview list: full paints of a 1920 x 1080 preview (from the cache
// of finished samples, without it, and of fonts never drawn before), scrolling through 5,000 fonts a page and a line at a
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
#include <QPainter>

#include "fonts/font_info.h"
#include "fonts/font_list.h"
#include "fonts/naming_table.h"
#include "preview/font_list_view.h"
#include "text/glyph_raster.h"
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

// Every benchmark of a frame runs at 16 and 72 points, plain and anti-aliased, on a screen of
// device pixel ratio 1 and 2 (a 1920 x 1080 preview drawn as 3840 x 2160 device pixels).
void SizesAndModes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"pt", "aa", "dpr"});
    for (const int dpr : {1, 2})
        for (const int points : {16, 72})
            for (const int antiAlias : {0, 1})
                b->Args({points, antiAlias, dpr});
    // CPU time counts every thread's, the pool's included.
    b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
}

// One full paint of the client area at the benchmark's pixel ratio.
QImage PaintFrame(TPreview& preview, const benchmark::State& state)
{
    return preview.View->PaintImage(static_cast<qreal>(state.range(2)));
}

// Cached: the finished samples are kept. Warm: they are not, but the glyphs are. New: every
// frame draws fonts never drawn before, as far as every cache can tell.
enum TCacheUse { cuCached, cuWarm, cuNew };

void FullPaint(benchmark::State& state, TCacheUse use)
{
    TPreview preview(1920, 1080);
    preview.View->SetFontSize(static_cast<int>(state.range(0)));
    preview.View->SetAntiAlias(state.range(1) != 0);
    if (use != cuCached)
        preview.View->SampleCache().SetMaxBytes(0);
    preview.Fill(PageOfFonts());
    PaintFrame(preview, state);
    for (auto _ : state) {
        if (use == cuNew) {
            state.PauseTiming();
            TGlyphCache::Shared().Clear();
            state.ResumeTiming();
        }
        const QImage image = PaintFrame(preview, state);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(preview.View->PageSize()) + " rows");
}

void BM_FullPaint_Cached(benchmark::State& state) { FullPaint(state, cuCached); }
BENCHMARK(BM_FullPaint_Cached)
    ->Apply(SizesAndModes);

void BM_FullPaint_Uncached(benchmark::State& state) { FullPaint(state, cuWarm); }
BENCHMARK(BM_FullPaint_Uncached)
    ->Apply(SizesAndModes);

void BM_FullPaint_NewFonts(benchmark::State& state) { FullPaint(state, cuNew); }
BENCHMARK(BM_FullPaint_NewFonts)
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
    PaintFrame(preview, state);
    for (auto _ : state) {
        if (preview.View->TopItem() >= preview.View->Items().Count() - preview.View->PageSize())
            preview.View->SetTopItem(0);
        else
            preview.View->WMVScroll(step);
        const QImage image = PaintFrame(preview, state);
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

// Pictures of complex scripts: the mixed Arabic and Devanagari sample over the Arabic,
// Devanagari and Latin fonts, and Thai and Khmer samples in their fonts, plain and
// anti-aliased, at pixel ratios 1 and 2 (as scripts-<dpr>x-<mode>.png).
bool WriteScriptImages(const std::string& folder)
{
    const std::string noto = "/usr/share/fonts/truetype/noto/";
    const std::vector<std::pair<std::string, std::vector<std::string>>> samples = {
        {"\u0627\u0644\u0639\u0631\u0628\u064a\u0629 \u0646\u0635 \u092e\u0930\u093e\u0920\u0940 "
         "\u0939\u093f\u0928\u094d\u0926\u0940 Aa",
         {noto + "NotoSansArabic-Regular.ttf", noto + "NotoNaskhArabic-Regular.ttf",
          noto + "NotoSansDevanagari-Regular.ttf", Sandbox::DejaVuSans()}},
        {"\u0e20\u0e32\u0e29\u0e32\u0e44\u0e17\u0e22 \u0e01\u0e33\u0e25\u0e31\u0e07\u0e43\u0e08",
         {noto + "NotoSansThai-Regular.ttf", noto + "NotoLoopedThai-Regular.ttf"}},
        {"\u1797\u17b6\u179f\u17b6\u1781\u17d2\u1798\u17c2\u179a \u179f\u17d2\u179a\u17b8",
         {noto + "NotoSansKhmer-Regular.ttf", noto + "NotoSansKhmer-Bold.ttf"}},
    };
    bool written = true;
    for (const int dpr : {1, 2}) {
        for (const bool antiAlias : {false, true}) {
            QImage sheet(1000 * dpr, 1100 * dpr, QImage::Format_RGB32);
            sheet.setDevicePixelRatio(dpr);
            sheet.fill(Qt::white);
            QPainter painter(&sheet);
            int top = 0;
            for (const auto& [text, files] : samples) {
                TPreview preview(1000, 360);
                preview.View->SetFontSize(28);
                preview.View->SetAntiAlias(antiAlias);
                preview.View->SetText(text);
                preview.Fill(files);
                const QImage part = preview.View->PaintImage(dpr);
                painter.drawImage(QPoint(0, top), part);
                top += 360;
            }
            painter.end();
            const std::string path = folder + "/scripts-" + std::to_string(dpr) + "x-" +
                                      (antiAlias ? "aa" : "plain") + ".png";
            written &= sheet.save(QString::fromStdString(path));
            std::printf("%s\n", path.c_str());
        }
    }
    return written;
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
    written &= WriteScriptImages(folder);
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
