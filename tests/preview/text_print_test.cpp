#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>

#include "preview/text_face.h"
#include "support/sandbox.h"

using fonzeta::test::Sandbox;

namespace {

TFontFacePtr LoadFace(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return TFontFace::Load(file.readAll(), 0);
}

int Ink(const QImage& image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += 255 - qGray(image.pixel(x, y));
    return ink;
}

// Columns [first, last] that hold ink.
std::pair<int, int> InkColumns(const QImage& image)
{
    int first = image.width(), last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

}  // namespace

TEST(TextPrint, ScaledPaintersGetTheSameShapedOutlines)
{
    // A scaled painter (a printer's page, a print preview) takes the outline route; the same
    // line drawn from the coverage cache at the scaled size must land in the same place with
    // about the same ink, for the file's own glyphs, synthetic styles and borrowed glyphs.
    const QString line = QString::fromUtf8("Office AVA 한글");
    for (const TFontStyles style : {TFontStyles(), TFontStyles(fsBold | fsItalic)}) {
        const TFontFacePtr file = LoadFace(Sandbox::DejaVuSerif());
        QImage outlined(900, 200, QImage::Format_RGB32);
        outlined.fill(Qt::white);
        {
            QPainter painter(&outlined);
            painter.scale(3, 3);
            painter.setPen(Qt::black);
            TTextFace::FromFile(file, 20, {}, style).Draw(painter, QPointF(5, 5), line);
        }
        QImage cached(900, 200, QImage::Format_RGB32);
        cached.fill(Qt::white);
        {
            QPainter painter(&cached);
            painter.setPen(Qt::black);
            TTextFace::FromFile(file, 60, {}, style).Draw(painter, QPointF(15, 15), line);
        }
        const auto [outlineFirst, outlineLast] = InkColumns(outlined);
        const auto [cachedFirst, cachedLast] = InkColumns(cached);
        EXPECT_NEAR(outlineFirst, cachedFirst, 3);
        EXPECT_NEAR(outlineLast, cachedLast, 3);
        EXPECT_NEAR(Ink(outlined), Ink(cached), Ink(cached) / 12);
    }
}
