#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "fonts/font_info.h"
#include "fonts/font_list.h"
#include "fonts/naming_table.h"
#include "platform/platform.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"
#include "support/sandbox.h"

namespace fonzeta::test {

// A preview list on a white background without a frame, so that its client area is exactly
// the size it is given, shown on the offscreen screen.
class TPreviewFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Platform.Locale = &Locale;
        View = MakeView();
    }

    std::unique_ptr<TFonzetaFontListView> MakeView()
    {
        auto view = std::make_unique<TFonzetaFontListView>(Platform);
        view->SetBorderStyle(bsNone);
        view->SetColor(clWhite);
        return view;
    }

    // Shows the view with a client area `rows` rows high and `width` pixels wide (the scroll
    // bar, when shown, comes on top of that width).
    static void Show(TFonzetaFontListView& view, double rows, int width = 400)
    {
        view.resize(width, static_cast<int>(rows * view.ItemHeight()));
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        QApplication::processEvents();
        // The scroll bar may have come or gone with the first records: keep the client width.
        const int bar = view.width() - view.viewport()->width();
        if (bar > 0) {
            view.resize(width + bar, view.height());
            QApplication::processEvents();
        }
    }
    void Show(double rows, int width = 400) { Show(*View, rows, width); }

    static void Focus(TFonzetaFontListView& view)
    {
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        view.setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(view.hasFocus());
    }

    static std::unique_ptr<TFontInfo> ReadFont(const std::string& path)
    {
        auto font = std::make_unique<TFontInfo>();
        ReadNamingTable(*font, path, 0x0409);
        return font;
    }

    // Name-only records "Font 0", "Font 1", ... in one batch.
    void AddNames(int count)
    {
        View->Items().BeginUpdate();
        for (int i = 0; i < count; ++i)
            View->Items().Add("Font " + std::to_string(i));
        View->Items().EndUpdate();
    }

    void AddFiles(const std::vector<std::string>& paths)
    {
        View->Items().BeginUpdate();
        for (const std::string& path : paths)
            View->Items().Add(ReadFont(path));
        View->Items().EndUpdate();
    }

    // A fresh full paint of the client area.
    static QImage Paint(TFonzetaFontListView& view)
    {
        return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage Paint() { return Paint(*View); }

    // What the window shows now, after the pending repaints.
    static QImage OnScreen(TFonzetaFontListView& view)
    {
        QApplication::processEvents();
        const QPoint origin = view.viewport()->mapTo(view.window(), QPoint(0, 0));
        return QGuiApplication::primaryScreen()
            ->grabWindow(view.window()->winId(), origin.x(), origin.y(),
                         view.viewport()->width(), view.viewport()->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    TFakeLocale Locale{0x0409, ","};
    TPlatform Platform;
    std::unique_ptr<TFonzetaFontListView> View;
};

inline QRgb Rgb(TColor color) { return ColorToQColor(color).rgb() | 0xFF000000u; }

// Number of pixels of `image` inside `rect` whose RGB equals `rgb`.
inline int CountColor(const QImage& image, const QRect& rect, QRgb rgb)
{
    int count = 0;
    const QRect inside = rect & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF))
                ++count;
    return count;
}

// Number of pixels inside `rect` whose RGB differs from `rgb`.
inline int CountOther(const QImage& image, const QRect& rect, QRgb rgb)
{
    const QRect inside = rect & image.rect();
    return inside.width() * inside.height() - CountColor(image, inside, rgb);
}

}  // namespace fonzeta::test
