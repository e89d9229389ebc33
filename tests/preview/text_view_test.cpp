#include <gtest/gtest.h>

#include <QFile>
#include <QThreadPool>
#include <QWheelEvent>

#include "preview_fixture.h"
#include "text/fallback_faces.h"
#include "support/temp_folder.h"
#include "text/glyph_raster.h"

using namespace fonzeta::test;

namespace {

const std::string Noto = "/usr/share/fonts/truetype/noto/";

class TextView : public TPreviewFixture {
protected:
    void Fill(TFonzetaFontListView& view)
    {
        view.SetText("Hamburg AVAWAY العربية हिन्दी 한글");
        view.Items().BeginUpdate();
        for (const std::string& path :
             {Sandbox::DejaVuSans(), Noto + "NotoSansArabic-Regular.ttf",
              Noto + "NotoSansDevanagari-Regular.ttf", Sandbox::DejaVuSerif(),
              Noto + "NotoSansThai-Regular.ttf"})
            view.Items().Add(ReadFont(path));
        view.Items().Add("DejaVu Sans");
        view.Items().EndUpdate();
    }

    static void ForgetEverything(TFonzetaFontListView& view)
    {
        view.SampleCache().Clear();
        TGlyphCache::Shared().Clear();
        TFallbackFaces::Shared().Clear();
    }

    static void Wheel(TFonzetaFontListView& view, QPoint angle)
    {
        const QPointF at(20, 20);
        QWheelEvent event(at, view.viewport()->mapToGlobal(at), QPoint(), angle, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &event);
    }
};

// Device pixels whose grey level is below half.
int DarkPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

}  // namespace

TEST_F(TextView, SidewaysWheelDoesNotScroll)
{
    AddNames(20);
    Show(3);
    int turns = 0;
    // What the main window does with a turn: a line up or down by its sign.
    View->OnMouseWheel = [&](TFonzetaFontListView* sender, Qt::KeyboardModifiers, int delta,
                             QPoint, bool& handled) {
        ++turns;
        sender->WMVScroll(delta < 0 ? scLineDown : scLineUp);
        handled = true;
    };
    View->SetTopItem(5);
    Wheel(*View, QPoint(120, 0));
    Wheel(*View, QPoint(-120, 0));
    EXPECT_EQ(turns, 0);
    EXPECT_EQ(View->TopItem(), 5);
    Wheel(*View, QPoint(0, -120));
    EXPECT_EQ(View->TopItem(), 6);
    Wheel(*View, QPoint(30, 120));
    EXPECT_EQ(View->TopItem(), 5);
    EXPECT_EQ(turns, 2);
}

TEST_F(TextView, CachedPaintsEqualFreshOnesAtEveryPixelRatio)
{
    Fill(*View);
    Show(6.5, 900);
    for (const bool antiAlias : {false, true}) {
        View->SetAntiAlias(antiAlias);
        for (const qreal scale : {1.0, 2.0}) {
            ForgetEverything(*View);
            const QImage fresh = View->PaintImage(scale);
            EXPECT_EQ(fresh.size(), QSize(900, View->viewport()->height()) * scale);
            EXPECT_GT(View->SampleCache().Count(), 0u);
            const QImage cached = View->PaintImage(scale);
            EXPECT_EQ(cached, fresh) << antiAlias << " " << scale;
            // Only the glyph coverages are kept: the rows are drawn again from them.
            View->SampleCache().Clear();
            EXPECT_EQ(View->PaintImage(scale), fresh) << antiAlias << " " << scale;
        }
        // The caches keep the two ratios apart.
        EXPECT_NE(View->PaintImage(1).size(), View->PaintImage(2).size());
    }
}

TEST_F(TextView, RowsDrawnOnThePoolEqualRowsDrawnOnTheInterfaceThread)
{
    QThreadPool pool;
    pool.setMaxThreadCount(3);
    auto other = MakeView();
    Fill(*View);
    Fill(*other);
    Show(6.5, 900);
    Show(*other, 6.5, 900);
    View->SetSamplePool(&pool);
    other->SetSamplePool(nullptr);
    for (const bool antiAlias : {false, true}) {
        View->SetAntiAlias(antiAlias);
        other->SetAntiAlias(antiAlias);
        for (const qreal scale : {1.0, 2.0}) {
            ForgetEverything(*View);
            ForgetEverything(*other);
            const QImage threaded = View->PaintImage(scale);
            ForgetEverything(*View);
            ForgetEverything(*other);
            EXPECT_EQ(threaded, other->PaintImage(scale)) << antiAlias << " " << scale;
        }
    }
}

TEST_F(TextView, HighDensityScreensGetSamplesAtDeviceResolution)
{
    AddFiles({Sandbox::DejaVuSans(), Sandbox::DejaVuSerif()});
    View->SetFontSize(20);
    Show(2.5, 500);
    const int itemHeight = View->ItemHeight();
    const int nameHeight = View->NameHeight();
    for (const bool antiAlias : {false, true}) {
        View->SetAntiAlias(antiAlias);
        const QImage single = View->PaintImage(1);
        const QImage dense = View->PaintImage(2);
        // Geometry in logical pixels: the same rows, twice the device pixels, the separator
        // line two device rows thick.
        EXPECT_EQ(View->ItemHeight(), itemHeight);
        ASSERT_EQ(dense.size(), single.size() * 2);
        for (const int y : {2 * itemHeight - 2, 2 * itemHeight - 1})
            EXPECT_EQ(dense.pixel(100, y) & 0xFFFFFF, 0x808080u) << y;
        // The sample is drawn anew at twice the size, not enlarged: about four times the ink,
        // and pixel pairs that an enlargement would keep equal differ.
        const QRect sample(0, nameHeight + 8, 500, itemHeight - nameHeight - 10);
        const QRect denseSample(sample.topLeft() * 2, sample.size() * 2);
        const int ink = DarkPixels(single.copy(sample));
        const int denseInk = DarkPixels(dense.copy(denseSample));
        EXPECT_GT(denseInk, ink * 3) << antiAlias;
        EXPECT_LT(denseInk, ink * 5) << antiAlias;
        const QImage enlarged = single.copy(sample).scaled(denseSample.size());
        EXPECT_NE(enlarged, dense.copy(denseSample).convertToFormat(enlarged.format()));
    }
}

TEST_F(TextView, AFaceFreeTypeRefusesShowsWhyInItsSampleArea)
{
    TTempFolder folder;
    const std::string junk = folder / "junk.ttf";
    {
        QFile file(QString::fromStdString(junk));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2000, '\x01'));
    }
    View->Items().BeginUpdate();
    auto broken = std::make_unique<TFontInfo>();
    broken->FileName = junk;
    broken->FullName = "Junk";
    broken->FileSize = 2000;
    View->Items().Add(std::move(broken));
    View->Items().Add(ReadFont(Sandbox::DejaVuSans()));
    View->Items().EndUpdate();
    View->SetFontColor(clNavy);
    Show(2.5, 600);
    for (const bool antiAlias : {false, true}) {
        View->SetAntiAlias(antiAlias);
        const QImage image = View->PaintImage(1);
        const int row = View->ItemHeight();
        const QRect sample(0, View->NameHeight() + 8, 600, row - View->NameHeight() - 10);
        // The reason in grey where the sample would be; the next row's sample in navy.
        int grey = 0;
        for (int y = sample.top(); y <= sample.bottom(); ++y)
            for (int x = sample.left(); x <= sample.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                grey += qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) < 200;
            }
        EXPECT_GT(grey, 100) << antiAlias;
        EXPECT_EQ(CountColor(image, sample, Rgb(clNavy)), 0) << antiAlias;
        EXPECT_GT(CountColor(image, sample.translated(0, row), Rgb(clNavy)), 20) << antiAlias;
    }
    EXPECT_EQ(View->SampleFace(*View->Items().Fonts(0)).Problem(),
              "not a font file FreeType can read");
}
