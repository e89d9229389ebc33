#include "fonts/scan_window.h"

#include "controls/xp_gauge.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <chrono>

namespace {

constexpr int ClientWidth = 306;
constexpr int ClientHeight = 129;
constexpr int BandHeight = 29;

// A label of fixed place and size whose text is centred in it.
QLabel* MakeLabel(QWidget* parent, const char* name, int width, int top, int height)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry((ClientWidth - width) / 2, top, width, height);
    label->setAlignment(Qt::AlignCenter);
    // Font names come from font files: never let one be read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

TfScan::TfScan(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Scan Fonts"));
    setFixedSize(ClientWidth, ClientHeight);
    setModal(false);
    setWindowIcon(QIcon(ScanIcon()));

    auto* band = new QWidget(this);
    band->setObjectName(QStringLiteral("Band"));
    band->setGeometry(0, 0, ClientWidth, BandHeight);
    QPalette white = band->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    band->setPalette(white);
    band->setAutoFillBackground(true);

    auto* icon = new QLabel(band);
    icon->setObjectName(QStringLiteral("Icon"));
    icon->setGeometry(8, (BandHeight - 16) / 2, 16, 16);
    icon->setPixmap(ScanIcon());

    auto* title = new QLabel(QStringLiteral("Please wait while scanning fonts in folder"), band);
    title->setObjectName(QStringLiteral("Title"));
    title->setGeometry(32, 0, ClientWidth - 40, BandHeight);
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("Separator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, BandHeight, ClientWidth, 2);

    FCountLabel = MakeLabel(this, "Count", 117, 48, 15);
    FFontName = MakeLabel(this, "FontName", 282, 72, 15);

    FGauge = new TXPGauge(this);
    FGauge->setObjectName(QStringLiteral("Gauge"));
    FGauge->setGeometry((ClientWidth - 278) / 2, 108, 278, 11);

    SetClock(nullptr);
}

void TfScan::SetClock(TClock clock)
{
    if (!clock) {
        clock = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
    }
    FClock = std::move(clock);
}

void TfScan::SetTotal(int total)
{
    FTotal = std::max(0, total);
    FCount = 0;
    FLatestName.clear();
    FShownOnce = false;
    // Progress first, so that it never lies above a smaller new maximum. A total of 0
    // leaves the gauge's maximum as it was (a gauge maximum is never 0); the gauge stays empty.
    FGauge->SetProgress(0);
    FGauge->SetMaxValue(static_cast<uint64_t>(FTotal));
    FFontName->clear();
    ShowCount();
}

void TfScan::StepFont(const std::string& fontName)
{
    ++FCount;
    FLatestName = fontName;
    const int64_t now = FClock();
    if (FShownOnce && now - FLastShown < ShowInterval)
        return;
    FShownOnce = true;
    FLastShown = now;
    ShowProgress();
    QCoreApplication::processEvents();
}

void TfScan::Finish()
{
    ShowProgress();
    if (isVisible())
        repaint();
}

void TfScan::ShowProgress()
{
    FFontName->setText(QString::fromStdString(FLatestName));
    FGauge->SetProgress(static_cast<uint64_t>(FCount));
    ShowCount();
}

void TfScan::ShowCount()
{
    FCountLabel->setText(QString::asprintf("%d/%d", FCount, FTotal));
}

void TfScan::CenterOver(const QWidget* owner)
{
    if (!owner)
        return;
    const QRect o = owner->frameGeometry();
    const QSize own = frameGeometry().size();
    move(o.left() + o.width() / 2 - own.width() / 2, o.top() + o.height() / 2 - own.height() / 2);
}

void TfScan::ShowModeless()
{
    setModal(false);
    show();
    raise();
}

void TfScan::closeEvent(QCloseEvent* event)
{
    // The window manager's close (Alt+F4) is refused; the program hides it at scan end.
    if (event->spontaneous())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

// A yellow folder under a magnifying glass, 16 x 16.
QPixmap TfScan::ScanIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const QColor folderLine(0x9A, 0x6B, 0x10);
    p.setPen(folderLine);
    p.setBrush(QColor(0xF0, 0xC0, 0x40));
    QPainterPath folder;
    folder.moveTo(0.5, 3.5);
    folder.lineTo(5.5, 3.5);
    folder.lineTo(7.0, 5.0);
    folder.lineTo(13.5, 5.0);
    folder.lineTo(13.5, 13.5);
    folder.lineTo(0.5, 13.5);
    folder.closeSubpath();
    p.drawPath(folder);
    p.setBrush(QColor(0xFF, 0xDC, 0x70));
    p.drawRect(QRectF(0.5, 6.5, 13.0, 7.0));

    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.6));
    p.setBrush(QColor(0xC8, 0xE4, 0xFF, 0xD0));
    p.drawEllipse(QPointF(9.5, 8.5), 3.3, 3.3);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.0, 11.0), QPointF(15.0, 14.5));
    return pixmap;
}
