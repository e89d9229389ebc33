#pragma once

#include <QColor>
#include <QImage>
#include <QProxyStyle>

class QPainter;

// The flat, light look of the XP controls, drawn over the desktop's own style. Only the
// button panel, the check and radio indicators with their captions, the combo box's frame
// and drop button, the edit frame and the group frame are drawn here; text layout, focus,
// lists and everything else stay the desktop style's. It is set on each control, never on
// the whole application.
class TXPStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Over a copy of the application's style; `base` is owned when given.
    explicit TXPStyle(QStyle* base = nullptr);

    // The one instance the controls share; it lives as long as the application.
    static TXPStyle* Shared();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl sub, const QWidget* widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
};

// Fixed colours of the look.
namespace XPColors {
inline const QColor ButtonFrame{0x00, 0x3B, 0x73};
inline const QColor ButtonFrameDisabled{0xC9, 0xC7, 0xBA};  // also the disabled caption
inline const QColor ButtonFaceDisabled{0xF4, 0xF4, 0xF3};
inline const QColor ButtonFacePressed{0xEB, 0xEB, 0xEB};
inline const QColor BevelDark{0xE0, 0xD9, 0xCF};
inline const QColor BevelLight{0xEC, 0xE9, 0xE0};
inline const QColor FocusDark{0x59, 0x8F, 0xD9};
inline const QColor FocusLight{0x73, 0xA1, 0xD3};
inline const QColor EditBorder{0x7F, 0x9D, 0xB9};
inline const QColor GroupLine{0x80, 0x80, 0x80};
inline const QColor Focused{0x00, 0x00, 0xFF};
}  // namespace XPColors

// Fills `r` with `brush` and outlines it in `pen` as a rounded rectangle whose corners are
// the aliased shapes of a 5 × 5 (ellipse < 8) or 8 × 8 corner ellipse. Coordinates are
// logical: on a scaled painter every pixel becomes a square of device pixels.
void XPRoundRect(QPainter& painter, const QRect& r, int ellipse, const QColor& pen,
                 const QColor& brush);

// The 13 × 13 indicators and the drop button, drawn into `r` of `painter`.
void XPDrawCheckGlyph(QPainter& painter, const QRect& r, bool checked);
void XPDrawRadioGlyph(QPainter& painter, const QRect& r, bool checked);
void XPDrawComboButtonGlyph(QPainter& painter, const QRect& r, bool pressed);

// The drop button as an image of `size` logical pixels at `ratio` device pixels each, with
// its background transparent; greyed for a disabled combo box.
QImage XPComboButtonImage(const QSize& size, qreal ratio, bool pressed, bool disabled);

// Turns every pixel that is not fully transparent into a grey: with M and m the largest and
// smallest channel, v = M - (M - m) / 2, the level is 255 when v >= 250, else v + 5.
QImage XPGreyed(const QImage& image);
