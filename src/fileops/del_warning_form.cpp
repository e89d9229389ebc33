#include "fileops/del_warning_form.h"

#include <QLabel>

#include "controls/xp_controls.h"
#include "fileops/recycle_bin_picture.h"

TfDelWarning::TfDelWarning(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fDelWarning"));
    setWindowTitle(QStringLiteral("Uninstall Font(s)"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont face = font();
    face.setPointSize(8);
    setFont(face);
    setFixedSize(330, 106);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(16, 12, 32, 32);
    image->setPixmap(RecycleBinPicture());

    auto* text = new QLabel(QStringLiteral("Are you sure you want to delete these fonts?"), this);
    text->setObjectName(QStringLiteral("Text"));
    text->setGeometry(72, 14, 249, 47);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    FYes = new TXPButton(QStringLiteral("&Yes"), this);
    FYes->setObjectName(QStringLiteral("YesBtn"));
    FYes->setGeometry(168, 73, 70, 22);
    FYes->setDefault(true);
    connect(FYes, &QPushButton::clicked, this, [this] { done(ResultYes); });

    FNo = new TXPButton(QStringLiteral("&No"), this);
    FNo->setObjectName(QStringLiteral("NoBtn"));
    FNo->setGeometry(244, 73, 70, 22);
    connect(FNo, &QPushButton::clicked, this, [this] { done(ResultNo); });

    setTabOrder(FYes, FNo);
    FYes->setFocus();
}
