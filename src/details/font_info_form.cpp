#include "details/font_info_form.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QTabWidget>

#include <hb.h>

#include <algorithm>
#include <filesystem>
#include <span>
#include <system_error>

#include "controls/xp_controls.h"
#include "details/font_metrics.h"
#include "fonts/font_info.h"
#include "fonts/naming_table.h"
#include "platform/locale_info.h"
#include "preview/raw_font_cache.h"
#include "preview/text_face.h"
#include "text/font_face.h"

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// A one-line value label: fixed width, vertically centred, never markup.
QLabel* ValueLabel(QWidget* parent, const char* name, int x, int y, int width, int height)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(false);
    label->setGeometry(x, y, width, height);
    return label;
}

QLabel* Caption(QWidget* parent, const char* text, int x, int y)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->adjustSize();
    label->move(x, y);
    return label;
}

// A caption with its value label; the value starts after the caption when the caption's
// face is wider than the layout allows for, and keeps its right edge.
QLabel* CaptionedValue(QWidget* parent, const char* caption, int x, int y, const char* name,
                       int valueX, int valueY, int width, int height)
{
    const QLabel* label = Caption(parent, caption, x, y);
    const int left = std::max(valueX, label->x() + label->width() + 4);
    return ValueLabel(parent, name, left, valueY, std::max(0, valueX + width - left), height);
}

QPlainTextEdit* Memo(QWidget* parent, const char* name, int x, int y, int width, int height)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setBackgroundRole(QPalette::Button);
    QPalette colors = memo->palette();
    colors.setColor(QPalette::Base, colors.color(QPalette::Button));
    memo->setPalette(colors);
    memo->setGeometry(x, y, width, height);
    return memo;
}

// The metric picture: two lines of "gM" on black with the distances the labels below name.
QPixmap MetricPicture()
{
    QPixmap picture(375, 223);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont big(QStringLiteral("DejaVu Serif"));
    big.setPixelSize(64);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(10);
    const QFontMetrics metrics(big);

    const int left = 120;
    const int top1 = 10;
    const int lineSpacing = 100;
    const QColor guide(90, 90, 90);
    const QColor accent(255, 200, 60);
    const auto arrow = [&](int x, int y1, int y2, const QString& label, bool labelLeft) {
        painter.setPen(accent);
        painter.drawLine(x, y1, x, y2);
        const int tip = y2 > y1 ? -3 : 3;
        painter.drawLine(x, y1, x - 3, y1 - tip);
        painter.drawLine(x, y1, x + 3, y1 - tip);
        painter.drawLine(x, y2, x - 3, y2 + tip);
        painter.drawLine(x, y2, x + 3, y2 + tip);
        painter.setFont(small);
        painter.setPen(Qt::white);
        const QFontMetrics fm(small);
        const int tx = labelLeft ? x - 6 - fm.horizontalAdvance(label) : x + 6;
        painter.drawText(tx, (y1 + y2) / 2 + fm.ascent() / 2, label);
    };

    for (int line = 0; line < 2; ++line) {
        const int top = top1 + line * lineSpacing;
        const int baseline = top + metrics.ascent();
        painter.setPen(guide);
        painter.drawLine(left - 10, top, 365, top);
        painter.drawLine(left - 10, baseline, 365, baseline);
        painter.drawLine(left - 10, top + metrics.height(), 365, top + metrics.height());
        painter.setFont(big);
        painter.setPen(Qt::white);
        painter.drawText(left, baseline, QStringLiteral("gM"));
    }
    const int baseline1 = top1 + metrics.ascent();
    const int bottom1 = top1 + metrics.height();
    const int capTop = baseline1 - metrics.capHeight();
    arrow(left - 70, top1, bottom1, QStringLiteral("Height"), true);
    arrow(left - 20, top1, baseline1, QStringLiteral("Ascent"), true);
    arrow(left - 20, baseline1, bottom1, QStringLiteral("Descent"), true);
    arrow(278, top1, capTop, QStringLiteral("InternalLeading"), false);
    arrow(278, bottom1, top1 + lineSpacing, QStringLiteral("ExternalLeading"), false);
    arrow(left - 20, bottom1, top1 + lineSpacing, QStringLiteral("LineGap"), true);
    // The longest label goes below the second line, beside its arrow's lower end.
    arrow(240, baseline1, baseline1 + lineSpacing, QString(), false);
    const QString distance = QStringLiteral("Baseline-to-baseline distance");
    const QFontMetrics smallMetrics(small);
    painter.drawText(372 - smallMetrics.horizontalAdvance(distance),
                     baseline1 + lineSpacing + smallMetrics.height() + 2, distance);
    return picture;
}

std::span<const uint8_t> Bytes(const QByteArray& table)
{
    return {reinterpret_cast<const uint8_t*>(table.constData()),
            static_cast<std::size_t>(table.size())};
}

// One table of a HarfBuzz face, held for the object's life; empty when the face has none.
class TTable {
public:
    TTable(hb_face_t* face, const char* tag)
        : FBlob(hb_face_reference_table(face, hb_tag_from_string(tag, 4)))
    {
    }
    ~TTable() { hb_blob_destroy(FBlob); }
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    std::span<const uint8_t> Bytes() const
    {
        unsigned int length = 0;
        const char* data = hb_blob_get_data(FBlob, &length);
        return {reinterpret_cast<const uint8_t*>(data), length};
    }

private:
    hb_blob_t* FBlob;
};

}  // namespace

TfFontInfo::TfFontInfo(TRawFontCache& cache, const TPlatform& platform, QWidget* parent)
    : QDialog(parent), FCache(cache), FPlatform(platform)
{
    setObjectName(QStringLiteral("fFontInfo"));
    setWindowTitle(QStringLiteral("Properties"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont face(QStringLiteral("DejaVu Sans"));
    face.setPointSize(8);
    setFont(face);
    setFixedSize(402, 426);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(8, 8, 385, 381);
    General = new QWidget;
    General->setObjectName(QStringLiteral("General"));
    Matrix = new QWidget;
    Matrix->setObjectName(QStringLiteral("Matrix"));
    PageControl1->addTab(General, QStringLiteral("General"));
    PageControl1->addTab(Matrix, QStringLiteral("Metrics"));
    CreateGeneralPage();
    CreateMetricsPage();

    OK = new TXPButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(316, 396, 76, 22);
    OK->setDefault(true);
    // Enter presses the default button; Escape rejects the dialog, which closes it too.
    connect(OK, &QPushButton::clicked, this, [this] { done(1); });
}

void TfFontInfo::CreateGeneralPage()
{
    auto* icon = new QLabel(General);
    icon->setObjectName(QStringLiteral("Image2"));
    icon->setPixmap(QPixmap(QStringLiteral(":/properties.png"))
                        .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setGeometry(8, 8, 32, 32);

    FontTitle = ValueLabel(General, "FontTitle", 43, 15, 326, 26);
    QFont bold = FontTitle->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    FontTitle->setFont(bold);

    auto* line = new QFrame(General);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, 44, 365, 2);

    FullName = CaptionedValue(General, "Full Name :", 12, 56, "FullName", 72, 55, 293, 17);
    FamilyName =
        CaptionedValue(General, "Family Name :", 12, 77, "FamilyName", 88, 77, 277, 16);
    Version = CaptionedValue(General, "Version :", 12, 98, "Version", 64, 98, 0, 16);

    auto* copyrightBox = new TXPGroupBox(QStringLiteral("Copyright"), General);
    copyrightBox->setObjectName(QStringLiteral("GroupBox1"));
    copyrightBox->setGeometry(12, 120, 353, 69);
    Copyright = Memo(copyrightBox, "Copyright", 8, 21, 340, 41);
    auto* trademarkBox = new TXPGroupBox(QStringLiteral("Trademark"), General);
    trademarkBox->setObjectName(QStringLiteral("GroupBox2"));
    trademarkBox->setGeometry(12, 200, 353, 57);
    Trademark = Memo(trademarkBox, "Trademark", 8, 22, 340, 29);

    FileName = CaptionedValue(General, "Filename :", 12, 268, "FileName", 80, 266, 285, 17);
    Folder = CaptionedValue(General, "Folder :", 12, 288, "Folder", 80, 286, 281, 17);
    Size = CaptionedValue(General, "Size :", 12, 308, "Size", 80, 306, 285, 17);
}

void TfFontInfo::CreateMetricsPage()
{
    auto* panel = new QWidget(Matrix);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, 377, 225);
    panel->setAutoFillBackground(true);
    QPalette black = panel->palette();
    black.setColor(QPalette::Window, Qt::black);
    panel->setPalette(black);
    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(MetricPicture());
    picture->setGeometry(1, 1, 375, 223);

    struct TRow {
        const char* caption;
        QLabel** value;
        const char* name;
        int left, top, right;
    };
    const TRow rows[] = {
        {"Height :", &lHeight, "lHeight", 24, 248, 130},
        {"Ascent :", &lAscent, "lAscent", 24, 267, 130},
        {"Descent :", &lDescent, "lDescent", 24, 285, 130},
        {"LineGap :", &lLineGap, "lLineGap", 24, 304, 130},
        {"ExternalLeading :", &lExtLeading, "lExtLeading", 176, 248, 337},
        {"InternalLeading :", &lIntLeading, "lIntLeading", 176, 267, 337},
        {"Average Char Width :", &lAvgCharWidth, "lAvgCharWidth", 176, 285, 337},
        {"Max Char Width :", &lMaxCharWidth, "lMaxCharWidth", 176, 304, 337},
    };
    for (const TRow& row : rows) {
        QLabel* caption = Caption(Matrix, row.caption, row.left, row.top);
        const int left = caption->x() + caption->width() + 2;
        QLabel* value = ValueLabel(Matrix, row.name, left, row.top, row.right - left,
                                   caption->height());
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *row.value = value;
    }
}

std::string TfFontInfo::SizeText(uint64_t bytes, const std::string& separator)
{
    const std::string digits = std::to_string(bytes);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += separator;
        grouped += digits[i];
    }
    return grouped + " bytes";
}

std::string TfFontInfo::TitleText(const std::string& fullName, const std::string& englishName)
{
    if (englishName.empty() || Q(englishName).compare(Q(fullName), Qt::CaseInsensitive) == 0)
        return fullName;
    return fullName + " (" + englishName + ")";
}

void TfFontInfo::Fill(const TFontInfo& font)
{
    FillMetrics(font);
    FillTitle(font);
    FullName->setText(Q(font.FullName));
    FamilyName->setText(Q(font.FamilyName));
    Version->setText(Q(font.Version));
    Version->adjustSize();
    Version->setFixedWidth(std::min(Version->width(), 365 - Version->x()));
    Copyright->setPlainText(Q(font.Copyright));
    Trademark->setPlainText(Q(font.Trademark));
    FillFile(font);
    // The file's texts only exist for a record with a file.
    PageControl1->setTabVisible(PageControl1->indexOf(General), !font.FileName.empty());
}

int TfFontInfo::FillAndShow(const TFontInfo& font)
{
    Fill(font);
    for (int page = 0; page < PageControl1->count(); ++page)
        if (PageControl1->isTabVisible(page)) {
            PageControl1->setCurrentIndex(page);
            break;
        }
    return exec();
}

void TfFontInfo::FillMetrics(const TFontInfo& font)
{
    const int ppem = MetricsPpem(logicalDpiY());
    TFontMetrics metrics;
    if (!font.FileName.empty()) {
        // The record's own face of its file (its index in a collection), as the preview has it.
        const TTextFace face = RecordFace(FCache, font, ppem, {}, this->font());
        if (face.IsExact() && face.FileFace()) {
            hb_face_t* tables = hb_font_get_face(face.FileFace()->HbFont());
            const TTable head(tables, "head"), hhea(tables, "hhea"), os2(tables, "OS/2");
            metrics = ComputeFontMetrics(head.Bytes(), hhea.Bytes(), os2.Bytes(), ppem);
        }
    } else if (QFontDatabase::hasFamily(Q(font.FullName))) {
        // Known by name only: the face the system has under that family, never a substitute.
        QFont byName(Q(font.FullName));
        byName.setPixelSize(ppem);
        const QRawFont raw = QRawFont::fromFont(byName);
        if (raw.isValid()) {
            const QByteArray head = raw.fontTable("head");
            const QByteArray hhea = raw.fontTable("hhea");
            const QByteArray os2 = raw.fontTable("OS/2");
            metrics = ComputeFontMetrics(Bytes(head), Bytes(hhea), Bytes(os2), ppem);
        }
    }
    lHeight->setText(Q(MetricText(metrics.Height)));
    lAscent->setText(Q(MetricText(metrics.Ascent)));
    lDescent->setText(Q(MetricText(metrics.Descent)));
    lLineGap->setText(Q(MetricText(metrics.LineGap)));
    lExtLeading->setText(Q(MetricText(metrics.ExternalLeading)));
    lIntLeading->setText(Q(MetricText(metrics.InternalLeading)));
    lAvgCharWidth->setText(Q(MetricText(metrics.AvgCharWidth)));
    lMaxCharWidth->setText(Q(MetricText(metrics.MaxCharWidth)));
}

void TfFontInfo::FillTitle(const TFontInfo& font)
{
    std::string english;
    if (!font.FileName.empty()) {
        TFontInfo scratch;
        scratch.PreferredLangID = 0x0409;
        scratch.FaceIndex = font.FaceIndex;
        ReadFontNames(scratch, font.FileName, FPlatform);
        english = scratch.FullName;
    }
    FTitle = TitleText(font.FullName, english);
    // The label cuts a long title with an ellipsis; the tooltip has all of it.
    const QString title = Q(FTitle);
    FontTitle->setText(FontTitle->fontMetrics().elidedText(title, Qt::ElideRight,
                                                          FontTitle->width()));
    FontTitle->setToolTip(title);
}

void TfFontInfo::FillFile(const TFontInfo& font)
{
    namespace fs = std::filesystem;
    const std::size_t slash = font.FileName.find_last_of('/');
    if (slash == std::string::npos) {
        FileName->setText(Q(font.FileName));
        Folder->clear();
    } else {
        FileName->setText(Q(font.FileName.substr(slash + 1)));
        Folder->setText(Q(slash == 0 ? "/" : font.FileName.substr(0, slash)));
    }
    if (font.FileName.empty()) {
        Size->clear();
        return;
    }
    std::error_code error;
    const uintmax_t bytes = fs::file_size(fs::path(font.FileName), error);
    if (error) {
        Size->setText(fs::exists(fs::path(font.FileName), error) ? QStringLiteral("0 bytes")
                                                                  : QStringLiteral("file not found"));
        return;
    }
    const std::string separator = FPlatform.Locale ? FPlatform.Locale->ThousandsSeparator() : ",";
    Size->setText(Q(SizeText(bytes, separator)));
}
