#include "fileops/copying_form.h"

#include <QCloseEvent>
#include <QLabel>

#include <algorithm>

#include "app/string_table.h"
#include "controls/xp_controls.h"
#include "controls/xp_gauge.h"

TfCopying* fCopying = nullptr;

namespace {

QLabel* Label(QWidget* parent, const char* name, const QColor& color)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QPalette colors = label->palette();
    colors.setColor(QPalette::WindowText, color);
    label->setPalette(colors);
    return label;
}

}  // namespace

TfCopying::TfCopying(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fCopying"));
    setWindowTitle(QStringLiteral("Copying..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont face = font();
    face.setPointSize(8);
    setFont(face);
    setFixedSize(392, 143);

    FPath = Label(this, "Path", Qt::black);
    FPath->setGeometry(13, 22, 368, 24);
    FFileName = Label(this, "FileName", Qt::black);
    FFileName->setGeometry(14, 60, 363, 17);
    QFont small = FFileName->font();
    small.setPixelSize(12);
    FFileName->setFont(small);
    FCount = Label(this, "lCount", Qt::gray);
    FCount->move(12, 90);
    FTotalSize = Label(this, "TotalSize", Qt::gray);
    FTotalSize->setAlignment(Qt::AlignRight | Qt::AlignTop);
    FTotalSize->move(300, 90);

    FGauge = new TXPGauge(this);
    FGauge->setObjectName(QStringLiteral("Gauge"));
    FGauge->setGeometry(12, 107, 291, 12);
    FGauge->SetBorderColor(QColor(0x4A, 0x4A, 0x4A));
    FGauge->SetBarColor(QColor(0x2E, 0xD3, 0x31));
    FGauge->SetColor(Qt::white);
    FGauge->SetInnerShadow(true);
    FGauge->SetSmooth(false);

    FCancel = new TXPButton(QStringLiteral("Cancel"), this);
    FCancel->setObjectName(QStringLiteral("XPButton1"));
    FCancel->setGeometry(316, 106, 65, 22);
    FCancel->setDefault(true);
    connect(FCancel, &QPushButton::clicked, this, [this] { XPButton1Click(); });
}

void TfCopying::Begin(const std::string& title)
{
    setWindowTitle(QString::fromStdString(title));
    FHold.Hold(*this, FOwner);
}

void TfCopying::End()
{
    close();
    FHold.Release();
}

void TfCopying::SetSource(const std::string& name)
{
    FSource = name;
    UpdatePath();
}

void TfCopying::SetDest(const std::string& name)
{
    FDest = name;
    UpdatePath();
}

void TfCopying::UpdatePath()
{
    FPath->setText(QString::fromStdString(FormatStr("From '%s'  To '%s'", FSource.c_str(), FDest.c_str())));
}

void TfCopying::ShowCount()
{
    FCount->setText(QString::fromStdString(FormatStr("%d/%d", FCurrent, FTotal)));
    FCount->adjustSize();
}

void TfCopying::SetCurrent(int number)
{
    if (number == FCurrent)
        return;
    FCurrent = number;
    ShowCount();
}

void TfCopying::SetTotal(int number)
{
    if (number == FTotal)
        return;
    FTotal = number;
    ShowCount();
}

void TfCopying::SetFileText(const std::string& text)
{
    FFileName->setText(QString::fromStdString(text));
}

void TfCopying::SetTotalSizeText(const std::string& text)
{
    FTotalSize->setText(QString::fromStdString(text));
    FTotalSize->adjustSize();
    FTotalSize->move(300 - FTotalSize->width(), 90);
}

void TfCopying::SetMaxBytes(uint64_t total)
{
    FGauge->SetMaxValue(total);
}

void TfCopying::AddBytes(uint64_t count)
{
    FGauge->SetProgress(std::min(FGauge->MaxValue(), FGauge->Progress() + count));
}

void TfCopying::StartEstimate()
{
    FGauge->Start();
}

void TfCopying::FormShow()
{
    FPath->clear();
    FFileName->clear();
    FCount->clear();
    FCancelled = false;
    FGauge->SetProgress(0);
}

void TfCopying::XPButton1Click()
{
    FCancelled = true;
}

void TfCopying::FormClose()
{
    FGauge->Stop();
    FCancelled = true;
}

void TfCopying::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfCopying::closeEvent(QCloseEvent* event)
{
    // QDialog would call reject(), which is the Cancel button here and closes nothing.
    FormClose();
    event->accept();
}
