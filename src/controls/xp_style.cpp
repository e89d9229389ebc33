#include "controls/xp_style.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>
#include <cstdlib>

#include "controls/xp_controls.h"

namespace {

// A horizontal or vertical line from (x1, y1) up to, not including, (x2, y2): the end
// point is left out, as line drawing on the desktop always did.
void Line(QPainter& p, const QPoint& origin, int x1, int y1, int x2, int y2, const QColor& color)
{
    QRect r;
    if (y1 == y2)
        r = QRect(QPoint(std::min(x1, x2), y1), QSize(std::abs(x2 - x1), 1));
    else
        r = QRect(QPoint(x1, std::min(y1, y2)), QSize(1, std::abs(y2 - y1)));
    if (!r.isEmpty())
        p.fillRect(r.translated(origin), color);
}

// The window's own colour, which the desktop called the button face.
QColor Face(const QStyleOption& option)
{
    return option.palette.color(QPalette::Window);
}

int MnemonicFlags(const QStyle& style, const QStyleOption* option, const QWidget* widget)
{
    return style.styleHint(QStyle::SH_UnderlineShortcut, option, widget) ? Qt::TextShowMnemonic
                                                                         : Qt::TextHideMnemonic;
}

void DrawButton(const QStyle& style, const QStyleOptionButton& option, QPainter& p,
                const QWidget* widget)
{
    const QRect r = option.rect;
    const QPoint o = r.topLeft();
    const int w = r.width();
    const int h = r.height();
    const bool enabled = option.state & QStyle::State_Enabled;
    const bool pressed = option.state & (QStyle::State_Sunken | QStyle::State_On);

    p.fillRect(r, Face(option));
    const QColor face = !enabled ? XPColors::ButtonFaceDisabled
                        : pressed ? XPColors::ButtonFacePressed
                                  : QColor(Qt::white);
    XPRoundRect(p, r, 5, enabled ? XPColors::ButtonFrame : XPColors::ButtonFrameDisabled, face);

    if (enabled) {
        if (pressed) {
            Line(p, o, 2, 1, w - 2, 1, XPColors::BevelDark);
            Line(p, o, 1, 2, 1, h - 2, XPColors::BevelDark);
            Line(p, o, 1, 2, w - 1, 2, XPColors::BevelLight);
            Line(p, o, 2, 1, 2, h - 2, XPColors::BevelLight);
        } else {
            Line(p, o, 2, h - 2, w - 2, h - 2, XPColors::BevelDark);
            Line(p, o, w - 2, 2, w - 2, h - 2, XPColors::BevelDark);
            Line(p, o, 1, h - 3, w - 1, h - 3, XPColors::BevelLight);
            Line(p, o, w - 3, 1, w - 3, h - 2, XPColors::BevelLight);
        }
    }

    const bool focusLook = (option.state & QStyle::State_HasFocus) ||
                           (option.features & QStyleOptionButton::DefaultButton);
    const bool tabStop = !widget || (widget->focusPolicy() & Qt::TabFocus);
    if (enabled && focusLook && !pressed && tabStop) {
        Line(p, o, 2, h - 2, w - 2, h - 2, XPColors::FocusDark);
        Line(p, o, 1, h - 3, w - 1, h - 3, XPColors::FocusLight);
    }

    // The caption is laid out by the desktop style; only its colour is fixed, dark on the
    // white face whatever the palette says.
    QStyleOptionButton label(option);
    label.rect = style.subElementRect(QStyle::SE_PushButtonContents, &option, widget);
    const QColor text = enabled ? QColor(Qt::black) : XPColors::ButtonFrameDisabled;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        label.palette.setColor(group, QPalette::ButtonText, text);
        label.palette.setColor(group, QPalette::WindowText, text);
    }
    style.drawControl(QStyle::CE_PushButtonLabel, &label, &p, widget);
}

// Check box and radio button: the glyph at x 0, vertically centred by integer halving (so a
// control lower than the glyph starts it at 0), and the caption from x 17.
void DrawIndicatorControl(const QStyle& style, const QStyleOptionButton& option, QPainter& p,
                          const QWidget* widget, bool radio)
{
    const QRect r = option.rect;
    const QRect glyph(r.x(), r.y() + (r.height() - 13) / 2, 13, 13);
    const bool checked = option.state & QStyle::State_On;
    if (radio)
        XPDrawRadioGlyph(p, glyph, checked);
    else
        XPDrawCheckGlyph(p, glyph, checked);

    const bool enabled = option.state & QStyle::State_Enabled;
    QColor color = option.palette.color(QPalette::Active, QPalette::WindowText);
    if (!enabled) {
        color = option.palette.color(QPalette::Disabled, QPalette::WindowText);
    } else if (option.state & QStyle::State_HasFocus) {
        if (const auto* box = qobject_cast<const TXPCheckBox*>(widget))
            color = box->FocusedColor();
        else if (const auto* button = qobject_cast<const TXPRadioButton*>(widget))
            color = button->FocusedColor();
        else
            color = XPColors::Focused;
    }
    const QRect text(r.x() + 17, r.y(), std::max(0, r.width() - 17), r.height());
    p.save();
    p.setPen(color);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine |
                         MnemonicFlags(style, &option, widget),
               option.text);
    p.restore();
}

QRect ComboArrow(const QRect& r)
{
    return QRect(r.right() - 16, r.y() + 2, 15, r.height() - 4);
}

void DrawCombo(const QStyleOptionComboBox& option, QPainter& p, const QWidget* widget)
{
    const QRect r = option.rect;
    const QColor control = option.palette.color(QPalette::Base);
    QColor border = XPColors::EditBorder;
    bool pressed = false;
    if (const auto* combo = qobject_cast<const TXPComboBox*>(widget)) {
        border = combo->BorderColor();
        pressed = combo->Pressed();
    }
    p.fillRect(r, control);
    p.fillRect(QRect(r.x(), r.y(), r.width(), 1), border);
    p.fillRect(QRect(r.x(), r.bottom(), r.width(), 1), border);
    p.fillRect(QRect(r.x(), r.y(), 1, r.height()), border);
    p.fillRect(QRect(r.right(), r.y(), 1, r.height()), border);
    if (!option.subControls.testFlag(QStyle::SC_ComboBoxArrow) || r.height() <= 4)
        return;
    const QRect button = ComboArrow(r);
    p.fillRect(button.adjusted(-2, 0, 0, 0), control);
    const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    p.drawImage(button, XPComboButtonImage(button.size(), ratio, pressed,
                                            !(option.state & QStyle::State_Enabled)));
}

// The text of a list-only combo box; highlighted while it has the focus, so that the focus
// shows.
void DrawComboLabel(const QStyle& style, const QStyleOptionComboBox& option, QPainter& p,
                    const QWidget* widget)
{
    const QRect field = style.subControlRect(QStyle::CC_ComboBox, &option,
                                             QStyle::SC_ComboBoxEditField, widget)
                            .adjusted(0, 2, 0, -2);
    // An editable combo box shows its text in its own line edit.
    if (option.editable)
        return;
    const bool enabled = option.state & QStyle::State_Enabled;
    const bool highlight = enabled && (option.state & QStyle::State_HasFocus);
    p.save();
    QColor color = option.palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    if (highlight) {
        p.fillRect(field, option.palette.color(QPalette::Active, QPalette::Highlight));
        color = option.palette.color(QPalette::Active, QPalette::HighlightedText);
    }
    QRect text = field.adjusted(2, 0, -1, 0);
    if (!option.currentIcon.isNull()) {
        const QRect icon(text.x(), text.y() + (text.height() - option.iconSize.height()) / 2,
                         option.iconSize.width(), option.iconSize.height());
        option.currentIcon.paint(&p, icon, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
        text.setLeft(icon.right() + 4);
    }
    p.setPen(color);
    const QString elided = option.fontMetrics.elidedText(option.currentText, Qt::ElideRight, text.width());
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, elided);
    p.restore();
}

struct GroupGeometry {
    QRect Frame;
    QRect Label;
};

GroupGeometry GroupBoxGeometry(const QStyleOptionGroupBox& option)
{
    const QRect r = option.rect;
    const int t = option.fontMetrics.height();
    GroupGeometry g;
    g.Frame = QRect(r.x(), r.y() + t / 2 - 1, r.width(), r.height() - (t / 2 - 1));
    if (!option.text.isEmpty()) {
        const int width = option.fontMetrics.size(Qt::TextShowMnemonic, option.text).width();
        g.Label = QRect(r.x() + 8, r.y(), width + 6, t);
    }
    return g;
}

void DrawGroupBox(const QStyle& style, const QStyleOptionGroupBox& option, QPainter& p,
                  const QWidget* widget)
{
    const GroupGeometry g = GroupBoxGeometry(option);
    const QColor control = Face(option);
    QColor line = XPColors::GroupLine;
    if (const auto* box = qobject_cast<const TXPGroupBox*>(widget))
        line = box->LineColor();
    XPRoundRect(p, g.Frame, 8, line, control);
    if (option.text.isEmpty())
        return;
    p.fillRect(g.Label, control);
    const bool enabled = option.state & QStyle::State_Enabled;
    p.save();
    p.setPen(option.palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(g.Label, Qt::AlignCenter | Qt::TextSingleLine | MnemonicFlags(style, &option, widget),
               option.text);
    p.restore();
}

}  // namespace

// ---- shapes and glyphs ----

void XPRoundRect(QPainter& p, const QRect& r, int ellipse, const QColor& pen, const QColor& brush)
{
    // Per corner, the rows below the top line: where the outline runs in each.
    struct Step {
        int From, To;
    };
    static constexpr Step Small[] = {{1, 1}};
    static constexpr Step Large[] = {{1, 2}, {1, 1}};
    const bool large = ellipse >= 8;
    const Step* steps = large ? Large : Small;
    const int k = large ? 3 : 2;
    const int x = r.x();
    const int y = r.y();
    const int w = r.width();
    const int h = r.height();
    if (w <= 0 || h <= 0)
        return;
    if (w < 2 * k || h < 2 * k) {
        p.fillRect(r, pen);
        if (w > 2 && h > 2)
            p.fillRect(r.adjusted(1, 1, -1, -1), brush);
        return;
    }
    p.fillRect(QRect(x + k, y, w - 2 * k, 1), pen);
    p.fillRect(QRect(x + k, y + h - 1, w - 2 * k, 1), pen);
    for (int i = 1; i < k; ++i) {
        const Step s = steps[i - 1];
        for (int row : {y + i, y + h - 1 - i}) {
            p.fillRect(QRect(x + s.From, row, s.To - s.From + 1, 1), pen);
            p.fillRect(QRect(x + w - 1 - s.To, row, s.To - s.From + 1, 1), pen);
            p.fillRect(QRect(x + s.To + 1, row, w - 2 * (s.To + 1), 1), brush);
        }
    }
    p.fillRect(QRect(x, y + k, 1, h - 2 * k), pen);
    p.fillRect(QRect(x + w - 1, y + k, 1, h - 2 * k), pen);
    p.fillRect(QRect(x + 1, y + k, w - 2, h - 2 * k), brush);
}

namespace {

const QColor GlyphFrame(0x1C, 0x51, 0x80);
const QColor GlyphMark(0x21, 0xA1, 0x21);

QLinearGradient GlyphFill(const QRectF& r)
{
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0, QColor(0xDC, 0xDC, 0xD7));
    fill.setColorAt(1, QColor(0xFF, 0xFF, 0xFF));
    return fill;
}

}  // namespace

void XPDrawCheckGlyph(QPainter& p, const QRect& r, bool checked)
{
    p.save();
    p.fillRect(r, GlyphFrame);
    const QRectF inside = QRectF(r).adjusted(1, 1, -1, -1);
    p.fillRect(inside, GlyphFill(inside));
    if (checked) {
        const qreal s = r.width() / 13.0;
        QPainterPath mark;
        mark.moveTo(r.x() + 3.5 * s, r.y() + 6.0 * s);
        mark.lineTo(r.x() + 5.5 * s, r.y() + 8.5 * s);
        mark.lineTo(r.x() + 9.5 * s, r.y() + 3.5 * s);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(GlyphMark, 1.8 * s, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPath(mark);
    }
    p.restore();
}

void XPDrawRadioGlyph(QPainter& p, const QRect& r, bool checked)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(GlyphFrame, 1.0));
    p.setBrush(GlyphFill(outer));
    p.drawEllipse(outer);
    if (checked) {
        const qreal s = r.width() / 13.0;
        const QPointF center = QRectF(r).center();
        QLinearGradient dot(center - QPointF(2.5 * s, 2.5 * s), center + QPointF(2.5 * s, 2.5 * s));
        dot.setColorAt(0, QColor(0x55, 0xD4, 0x51));
        dot.setColorAt(1, GlyphMark);
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        p.drawEllipse(center, 2.6 * s, 2.6 * s);
    }
    p.restore();
}

void XPDrawComboButtonGlyph(QPainter& p, const QRect& r, bool pressed)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    if (pressed) {
        fill.setColorAt(0, QColor(0x6E, 0x8E, 0xF1));
        fill.setColorAt(1, QColor(0xA8, 0xC2, 0xF5));
    } else {
        fill.setColorAt(0, QColor(0xFB, 0xFC, 0xFF));
        fill.setColorAt(0.25, QColor(0xE2, 0xEB, 0xFD));
        fill.setColorAt(1, QColor(0xB4, 0xCC, 0xFA));
    }
    p.setPen(QPen(pressed ? QColor(0x79, 0x94, 0xE6) : QColor(0xB9, 0xCE, 0xF7), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(box, 2, 2);
    const QPointF c = box.center();
    QPainterPath arrow;
    arrow.moveTo(c.x() - 3.5, c.y() - 1.5);
    arrow.lineTo(c.x(), c.y() + 2.0);
    arrow.lineTo(c.x() + 3.5, c.y() - 1.5);
    p.setPen(QPen(pressed ? QColor(Qt::white) : QColor(0x4D, 0x61, 0x85), 2.0, Qt::SolidLine,
                  Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    p.restore();
}

QImage XPGreyed(const QImage& image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb c = line[x];
            if (qAlpha(c) == 0)
                continue;
            const int high = std::max({qRed(c), qGreen(c), qBlue(c)});
            const int low = std::min({qRed(c), qGreen(c), qBlue(c)});
            const int v = high - (high - low) / 2;
            const int level = v >= 250 ? 255 : v + 5;
            line[x] = qRgba(level, level, level, qAlpha(c));
        }
    }
    grey.setDevicePixelRatio(image.devicePixelRatio());
    return grey.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage XPComboButtonImage(const QSize& size, qreal ratio, bool pressed, bool disabled)
{
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        XPDrawComboButtonGlyph(p, QRect(QPoint(0, 0), size), pressed);
    }
    return disabled ? XPGreyed(image) : image;
}

// ---- the style ----

TXPStyle::TXPStyle(QStyle* base)
    : QProxyStyle(base ? base : QStyleFactory::create(QApplication::style()->name()))
{
}

TXPStyle* TXPStyle::Shared()
{
    static QPointer<TXPStyle> shared;
    if (!shared) {
        shared = new TXPStyle;
        shared->setParent(qApp);
    }
    return shared;
}

void TXPStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                             QPainter* painter, const QWidget* widget) const
{
    if (element == PE_PanelLineEdit) {
        if (const auto* edit = qobject_cast<const TXPEdit*>(widget)) {
            const QRect r = option->rect;
            painter->fillRect(r, option->palette.color(QPalette::Base));
            const QColor border = edit->BorderColor();
            painter->fillRect(QRect(r.x(), r.y(), r.width(), 1), border);
            painter->fillRect(QRect(r.x(), r.bottom(), r.width(), 1), border);
            painter->fillRect(QRect(r.x(), r.y(), 1, r.height()), border);
            painter->fillRect(QRect(r.right(), r.y(), 1, r.height()), border);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void TXPStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const
{
    switch (element) {
    case CE_PushButton:
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
            DrawButton(*this, *button, *painter, widget);
            return;
        }
        break;
    case CE_CheckBox:
    case CE_RadioButton:
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
            DrawIndicatorControl(*this, *button, *painter, widget, element == CE_RadioButton);
            return;
        }
        break;
    case CE_ComboBoxLabel:
        if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
            DrawComboLabel(*this, *combo, *painter, widget);
            return;
        }
        break;
    default: break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void TXPStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                  QPainter* painter, const QWidget* widget) const
{
    if (control == CC_ComboBox) {
        if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
            DrawCombo(*combo, *painter, widget);
            return;
        }
    }
    if (control == CC_GroupBox) {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (box && !(box->subControls & SC_GroupBoxCheckBox)) {
            DrawGroupBox(*this, *box, *painter, widget);
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QRect TXPStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                               SubControl sub, const QWidget* widget) const
{
    if (control == CC_ComboBox) {
        const QRect r = option->rect;
        switch (sub) {
        case SC_ComboBoxArrow: return ComboArrow(r);
        case SC_ComboBoxEditField:
            // Within the border, left of the button: the inner frames are the edit's own
            // colour anyway, and the text gets the height.
            return QRect(r.x() + 3, r.y() + 1, std::max(0, r.width() - 22), std::max(0, r.height() - 2));
        case SC_ComboBoxFrame: return r;
        default: break;
        }
    }
    if (control == CC_GroupBox) {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (box && !(box->subControls & SC_GroupBoxCheckBox)) {
            const GroupGeometry g = GroupBoxGeometry(*box);
            const int t = box->fontMetrics.height();
            switch (sub) {
            case SC_GroupBoxLabel: return g.Label;
            case SC_GroupBoxFrame: return g.Frame;
            case SC_GroupBoxContents:
                return QRect(box->rect.x(), box->rect.y() + t, box->rect.width(),
                             box->rect.height() - t)
                    .adjusted(6, 4, -6, -6);
            default: break;
            }
        }
    }
    return QProxyStyle::subControlRect(control, option, sub, widget);
}

QRect TXPStyle::subElementRect(SubElement element, const QStyleOption* option,
                               const QWidget* widget) const
{
    const QRect r = option->rect;
    switch (element) {
    case SE_CheckBoxIndicator:
    case SE_RadioButtonIndicator: return QRect(r.x(), r.y() + (r.height() - 13) / 2, 13, 13);
    case SE_CheckBoxContents:
    case SE_RadioButtonContents:
        return QRect(r.x() + 17, r.y(), std::max(0, r.width() - 17), r.height());
    case SE_CheckBoxClickRect:
    case SE_RadioButtonClickRect:
    case SE_CheckBoxFocusRect:
    case SE_RadioButtonFocusRect: return r;
    case SE_LineEditContents:
        if (qobject_cast<const TXPEdit*>(widget))
            return r.adjusted(2, 2, -2, -2);
        break;
    default: break;
    }
    return QProxyStyle::subElementRect(element, option, widget);
}

int TXPStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight: return 13;
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing: return 4;
    case PM_DefaultFrameWidth:
        if (qobject_cast<const TXPEdit*>(widget))
            return 2;
        break;
    default: break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize TXPStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                 const QWidget* widget) const
{
    // The edit's contents are the font's height plus Qt's 1-pixel margins; the frame adds 1
    // more on each side, so the height is the font's plus 4.
    if (type == CT_LineEdit && qobject_cast<const TXPEdit*>(widget))
        return size + QSize(4, 2);
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}
