#include "app/about_form.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include "app/resources.h"
#include "controls/xp_controls.h"
#include "platform/document_opener.h"

TfAbout::TfAbout(IDocumentOpener* opener, QWidget* parent) : QDialog(parent), FOpener(opener)
{
    LoadResources();
    setObjectName(QStringLiteral("fAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(300, 236);

    auto* band = new QWidget(this);
    band->setObjectName(QStringLiteral("pBand"));
    band->setGeometry(0, 0, width(), 64);
    band->setAutoFillBackground(true);
    QPalette white = band->palette();
    white.setColor(QPalette::Window, Qt::white);
    band->setPalette(white);

    auto* icon = new QLabel(band);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(QIcon(QStringLiteral(":/fonzeta.png")).pixmap(32, 32));
    icon->setGeometry(16, 16, 32, 32);

    auto* kind = new QLabel(QStringLiteral("Windows Font Manager"), band);
    kind->setObjectName(QStringLiteral("lKind"));
    QPalette grey = kind->palette();
    grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
    kind->setPalette(grey);
    kind->move(64, 14);
    kind->adjustSize();

    auto* title = new QLabel(QStringLiteral("Fonzeta 1.0"), band);
    title->setObjectName(QStringLiteral("lTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    title->setFont(bold);
    title->move(64, 32);
    title->adjustSize();

    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("Bevel1"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, 64, width(), 2);

    AddLine(QStringLiteral("Update : 2002. 07. 29"), "lUpdate", 80);
    AddLine(QStringLiteral("Written by Fonzeta developers"), "lAuthor", 102);
    FMailLine = AddLine(QString::fromLatin1(Mail), "lMail", 124);
    FHomePageLine = AddLine(QString::fromLatin1(HomePage), "lHomePage", 146);
    for (QLabel* link : {FMailLine, FHomePageLine}) {
        QPalette blue = link->palette();
        blue.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(blue);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    auto* ok = new TXPButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("bOK"));
    ok->setDefault(true);
    ok->setGeometry(width() - 92, height() - 36, 76, 24);
    // Escape closes a dialog already; OK is the default button for Enter.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TfAbout::SetSettingsFolder(const std::string& folder)
{
    QString shown = QDir::cleanPath(QString::fromStdString(folder));
    const QString home = QDir::cleanPath(QDir::homePath());
    if (home != QStringLiteral("/") && (shown == home || shown.startsWith(home + '/')))
        shown = '~' + shown.mid(home.size());
    if (!FSettingsLine)
        FSettingsLine = AddLine(QString(), "lSettings", 168);
    const int room = width() - 2 * FSettingsLine->x();
    FSettingsLine->setText(FSettingsLine->fontMetrics().elidedText(
        QStringLiteral("Settings: ") + shown, Qt::ElideMiddle, room));
    FSettingsLine->setToolTip(QString::fromStdString(folder));
    FSettingsLine->adjustSize();
}

QLabel* TfAbout::AddLine(const QString& text, const char* name, int top)
{
    auto* line = new QLabel(text, this);
    line->setObjectName(QString::fromLatin1(name));
    line->move(20, top);
    line->adjustSize();
    return line;
}

bool TfAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && FOpener) {
        if (watched == FMailLine) {
            FOpener->Open(std::string("mailto:") + Mail);
            return true;
        }
        if (watched == FHomePageLine) {
            FOpener->Open(HomePage);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
