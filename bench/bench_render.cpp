// Speed of the anti-aliased text renderer: row blending, the supersample filter, RenderText
// at the preview's level 2 against drawing the same text directly with QPainter, and the cost
// of shaping a row against looking its characters up one by one.
//
// Run on a release build with
//   build/release/bench_render --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
// The closing lines give the ratio of RenderText's median time to the direct drawing's.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "preview/bitmap32.h"
#include "preview/blend.h"
#include "preview/supersample.h"
#include "support/sandbox.h"
#include "support/bench_app.h"
#include "text/shaper.h"

namespace {

// The preview's default sample text.
const std::string SampleText = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 1234567890";
constexpr int RowPixels = 1920;

std::vector<TColor32> RandomRow(unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<TColor32> any;
    std::vector<TColor32> row(RowPixels);
    for (TColor32& p : row)
        p = any(rng);
    return row;
}

void ReportPixelsPerNanosecond(benchmark::State& state, double pixelsPerIteration)
{
    state.counters["px_per_ns"] = benchmark::Counter(
        pixelsPerIteration * static_cast<double>(state.iterations()) * 1e-9,
        benchmark::Counter::kIsRate);
}

void BlendRow(benchmark::State& state, TBlendLineProc blend)
{
    const std::vector<TColor32> source = RandomRow(1);
    std::vector<TColor32> target = RandomRow(2);
    for (auto _ : state) {
        blend(source.data(), target.data(), RowPixels);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    ReportPixelsPerNanosecond(state, RowPixels);
}

void BM_BlendLine_Plain(benchmark::State& state) { BlendRow(state, BlendLinePlain); }
BENCHMARK(BM_BlendLine_Plain);

void BM_BlendLine_Vector(benchmark::State& state)
{
    if (!BlendLineVector()) {
        state.SkipWithError("no vector routine in this build");
        return;
    }
    BlendRow(state, BlendLineVector());
}
BENCHMARK(BM_BlendLine_Vector);

// The level-2 filter over a whole 1920 x 1080 frame drawn at four times the size (far larger
// than the caches, so memory-bound), and over the 524 x 33 row of the sample text at 16 pt.
void ReduceFrame(benchmark::State& state, bool vector)
{
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const int level = 2;
    std::vector<TColor32> source(static_cast<std::size_t>(width << level) * (height << level));
    std::mt19937 rng(3);
    std::uniform_int_distribution<TColor32> any;
    for (TColor32& p : source)
        p = any(rng);
    std::vector<TColor32> target(static_cast<std::size_t>(width) * height);
    for (auto _ : state) {
        if (vector)
            ReduceCoverage(source.data(), width << level, target.data(), width, height, level, 0);
        else
            ReduceCoveragePlain(source.data(), width << level, target.data(), width, height,
                                level, 0);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetLabel(std::to_string(width) + "x" + std::to_string(height) + " from " +
                   std::to_string(width << level) + "x" + std::to_string(height << level));
}

void BM_ReduceCoverage_Plain(benchmark::State& state) { ReduceFrame(state, false); }
BENCHMARK(BM_ReduceCoverage_Plain)->Args({1920, 1080})->Args({524, 33})
    ->Unit(benchmark::kMicrosecond);

void BM_ReduceCoverage_Vector(benchmark::State& state) { ReduceFrame(state, true); }
BENCHMARK(BM_ReduceCoverage_Vector)->Args({1920, 1080})->Args({524, 33})
    ->Unit(benchmark::kMicrosecond);

QFont SampleFont(int points)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleName(QStringLiteral("Book"));
    font.setPointSize(points);
    return font;
}

// A preview row that holds the sample text: its width with a margin, the cell's height.
QSize RowSize(const QFont& font)
{
    const QFontMetrics metrics(font);
    return QSize(metrics.horizontalAdvance(QString::fromStdString(SampleText)) + 20,
                 metrics.height() + 8);
}

void BM_RenderText(benchmark::State& state)
{
    const QFont font = SampleFont(static_cast<int>(state.range(0)));
    const QSize size = RowSize(font);
    TBitmap32 bitmap;
    bitmap.SetSize(size.width(), size.height());
    bitmap.SetFont(font);
    const TColor32 background = Color32(clWhite), text = Color32(clNavy);
    for (auto _ : state) {
        bitmap.Clear(background);
        bitmap.RenderText(10, 0, SampleText, 2, text);
        benchmark::DoNotOptimize(bitmap.Bits());
    }
    state.SetLabel(std::to_string(size.width()) + "x" + std::to_string(size.height()));
}
BENCHMARK(BM_RenderText)->Arg(16)->Arg(72)->Unit(benchmark::kMicrosecond);

void BM_DrawText(benchmark::State& state)
{
    const QFont font = SampleFont(static_cast<int>(state.range(0)));
    const QSize size = RowSize(font);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 128));
    const QString text = QString::fromStdString(SampleText);
    const int baseline = painter.fontMetrics().ascent();
    for (auto _ : state) {
        image.fill(Qt::white);
        painter.drawText(QPoint(10, baseline), text);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(size.width()) + "x" + std::to_string(size.height()));
}
BENCHMARK(BM_DrawText)->Arg(16)->Arg(72)->Unit(benchmark::kMicrosecond);

// A row's sample text in the preview's own font, shaped (bidirectional order, itemising,
// HarfBuzz) and merely looked up character by character, as drawing from the file did before.
// Arg 0: the main window's sample in DejaVu Sans (its Hangul borrowed); 1: the mixed sample
// with Arabic and Devanagari in Noto Sans Arabic (Devanagari and Latin borrowed).
struct TShapingCase {
    std::string file;
    QString text;
};

TShapingCase ShapingCase(int which)
{
    if (which == 0)
        return {fonzeta::test::Sandbox::DejaVuSans(),
                QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ 123 한글보기")};
    return {"/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf",
            QString::fromUtf8("العربية نص मराठी हिन्दी Aa")};
}

TFontFacePtr LoadFace(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? TFontFace::Load(file.readAll(), 0) : nullptr;
}

void ShapeRow(benchmark::State& state, bool shaped)
{
    const TShapingCase c = ShapingCase(static_cast<int>(state.range(0)));
    const TFontFacePtr face = LoadFace(c.file);
    if (!face) {
        state.SkipWithError("font missing");
        return;
    }
    for (auto _ : state) {
        const TShapedLine line = shaped ? ShapeLine(face, c.text, 21.33) : LookUpLine(face, c.text, 21.33);
        benchmark::DoNotOptimize(line.Width);
    }
}

void BM_ShapeRow(benchmark::State& state) { ShapeRow(state, true); }
BENCHMARK(BM_ShapeRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
void BM_LookUpRow(benchmark::State& state) { ShapeRow(state, false); }
BENCHMARK(BM_LookUpRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The console report followed by RenderText's time relative to drawText at each size.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (single || run.aggregate_name == "median")
                FMedians[run.run_name.str()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* points : {"16", "72"}) {
            const auto render = FMedians.find(std::string("BM_RenderText/") + points);
            const auto draw = FMedians.find(std::string("BM_DrawText/") + points);
            if (render != FMedians.end() && draw != FMedians.end() && draw->second > 0)
                std::printf("RenderText level 2 / drawText at %s pt: %.2f\n", points,
                            render->second / draw->second);
        }
        for (const char* which : {"0", "1"}) {
            const auto shaped = FMedians.find(std::string("BM_ShapeRow/") + which);
            const auto looked = FMedians.find(std::string("BM_LookUpRow/") + which);
            if (shaped != FMedians.end() && looked != FMedians.end() && looked->second > 0)
                std::printf("Shaping / look-up per row, sample %s: %.2f\n", which,
                            shaped->second / looked->second);
        }
        std::printf("Blend routines in use: %s\n", BlendRoutinesName());
    }

private:
    std::map<std::string, double> FMedians;
};

}  // namespace

int main(int argc, char** argv)
{
    TRatioReporter reporter;
    fonzeta::bench::TBenchHooks hooks;
    hooks.Reporter = &reporter;
    return fonzeta::bench::RunBenchmarks(argc, argv, hooks);
}
