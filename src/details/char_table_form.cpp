#include "details/char_table_form.h"

#include <QFrame>
#include <QLabel>
#include <QShowEvent>

#include "app/string_table.h"
#include "controls/xp_controls.h"
#include "details/char_grid.h"
#include "details/glyph_edit.h"
#include "details/glyph_label.h"
#include "fonts/font_info.h"
#include "preview/raw_font_cache.h"

namespace {

QLabel* Label(QWidget* parent, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    label->adjustSize();
    return label;
}

}  // namespace

TfCharTable::TfCharTable(TRawFontCache& cache, const TFontInfo& font, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fCharTable"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(LoadStr(700) + font.FullName));
    setFixedSize(430, 410);

    const QFont base = this->font();
    sgTable = new TCharGrid(this);
    sgTable->setObjectName(QStringLiteral("sgTable"));
    sgTable->move((width() - sgTable->width()) / 2, 6);
    const TTextFace cellFace =
        RecordFace(cache, font, CellPointSize * TTextFace::PixelsPerPoint(), {}, base);
    sgTable->SetFace(cellFace);
    sgTable->OnSelectCell = [this](int col, int row) { sgTableSelectCell(col, row); };
    sgTable->OnSelect = [this] { bbSelectClick(); };

    const int left = sgTable->x();
    const int top = sgTable->y() + sgTable->height() + 7;
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(left, top, 81, 62);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(white);
    lChar = new TGlyphLabel(panel);
    lChar->setObjectName(QStringLiteral("lChar"));
    lChar->setGeometry(panel->contentsRect());
    lChar->SetFace(RecordFace(cache, font, CharPixelSize, {}, base));

    const int codes = left + 81 + 10;
    Label(this, QStringLiteral("Hex :"), codes, top + 2);
    Hex = Label(this, QString(), codes + 60, top + 2);
    Hex->setObjectName(QStringLiteral("Hex"));
    Hex->setFixedWidth(60);
    Label(this, QStringLiteral("Decimal :"), codes, top + 16);
    Decimal = Label(this, QString(), codes + 60, top + 16);
    Decimal->setObjectName(QStringLiteral("Decimal"));
    Decimal->setFixedWidth(60);

    eChars = new TGlyphEdit(this);
    eChars->setObjectName(QStringLiteral("eChars"));
    eChars->SetFace(RecordFace(cache, font, EditPixelSize, {}, base));
    const int right = left + sgTable->width();
    eChars->setGeometry(codes, top + 34, right - 80 - codes, 28);

    XPButton1 = new TXPButton(QStringLiteral("&Select"), this);
    XPButton1->setObjectName(QStringLiteral("XPButton1"));
    XPButton1->setGeometry(right - 73, top, 73, 24);
    XPButton2 = new TXPButton(QStringLiteral("&Copy"), this);
    XPButton2->setObjectName(QStringLiteral("XPButton2"));
    XPButton2->setGeometry(right - 73, top + 38, 73, 24);
    for (TXPButton* button : {XPButton1, XPButton2})
        button->setAutoDefault(false);
    connect(XPButton1, &QPushButton::clicked, this, [this] { bbSelectClick(); });
    connect(XPButton2, &QPushButton::clicked, this, [this] { bbCopyClick(); });
}

void TfCharTable::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfCharTable::FormShow()
{
    // The first cell, "!", is current.
    sgTable->SetCell(0, 0);
    eChars->SetText(QString());
    sgTable->setFocus();
}

void TfCharTable::sgTableSelectCell(int col, int row)
{
    const int code = TCharGrid::CodeAt(col, row);
    if (code < 0) {
        // The cells after the last character hold nothing and have no code.
        lChar->SetText(QString());
        Hex->clear();
        Decimal->clear();
        return;
    }
    lChar->SetText(sgTable->HasGlyph(code) ? QString(QChar(static_cast<char16_t>(code)))
                                           : QString());
    Hex->setText(QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper());
    Decimal->setText(QString::number(code));
}

void TfCharTable::bbSelectClick()
{
    const int code = TCharGrid::CodeAt(sgTable->Col(), sgTable->Row());
    if (code >= 0)
        eChars->Append(QString(QChar(static_cast<char16_t>(code))));
}

void TfCharTable::bbCopyClick()
{
    eChars->SelectAll();
    eChars->Copy();
}
