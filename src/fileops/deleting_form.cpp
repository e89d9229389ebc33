#include "fileops/deleting_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>

#include "controls/xp_controls.h"
#include "controls/xp_gauge.h"
#include "fileops/recycle_bin_picture.h"

TfDeleting* fDeleting = nullptr;

TfDeleting::TfDeleting(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fDeleting"));
    setWindowTitle(QStringLiteral("Deleting..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont face = font();
    face.setPointSize(8);
    setFont(face);
    setFixedSize(376, 130);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(20, 16, 32, 32);
    image->setPixmap(RecycleBinPicture());

    FItem = new QLabel(this);
    FItem->setObjectName(QStringLiteral("Item"));
    FItem->setGeometry(20, 80, 257, 17);

    FGauge = new TXPGauge(this);
    FGauge->setObjectName(QStringLiteral("Gauge"));
    FGauge->setGeometry(19, 101, 262, 13);
    FGauge->SetBorderColor(QColor(0x3C, 0x3C, 0x3C));
    FGauge->SetBarColor(QColor(0x2E, 0xD3, 0x31));
    FGauge->SetColor(Qt::white);
    FGauge->SetInnerShadow(true);
    FGauge->SetSmooth(false);

    FCancel = new TXPButton(QStringLiteral("Cancel"), this);
    FCancel->setObjectName(QStringLiteral("bCancel"));
    FCancel->setGeometry(296, 96, 65, 22);
    FCancel->setDefault(true);
    connect(FCancel, &QPushButton::clicked, this, [this] { bCancelClick(); });
}

void TfDeleting::Begin(int total)
{
    FGauge->SetMaxValue(static_cast<uint64_t>(total > 0 ? total : 1));
    FHold.Hold(*this, FOwner);
}

void TfDeleting::End()
{
    close();
    FHold.Release();
}

void TfDeleting::SetItem(const std::string& name)
{
    FItem->setText(QString::fromStdString(name));
    QCoreApplication::processEvents();
}

void TfDeleting::StepFile()
{
    FGauge->SetProgress(FGauge->Progress() + 1);
    QCoreApplication::processEvents();
}

void TfDeleting::FormShow()
{
    FGauge->SetProgress(0);
    FCancelled = false;
}

void TfDeleting::bCancelClick()
{
    FCancelled = true;
}

void TfDeleting::FormClose()
{
    FCancelled = true;
}

void TfDeleting::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfDeleting::closeEvent(QCloseEvent* event)
{
    // QDialog would call reject(), which is the Cancel button here and closes nothing.
    FormClose();
    event->accept();
}
