#include "details/set_text_form.h"

#include <QPlainTextEdit>
#include <QShowEvent>

#include "app/settings.h"
#include "controls/xp_controls.h"
#include "platform/dialogs.h"
#include "platform/ini_file.h"

TfSetText::TfSetText(const std::string& settingsFile, IDialogs* dialogs, QWidget* parent)
    : QDialog(parent), FIni(std::make_unique<TIniFile>(settingsFile)), FDialogs(dialogs)
{
    setObjectName(QStringLiteral("fSetText"));
    setWindowTitle(QStringLiteral("Set Sample Text"));
    setFixedSize(433, 256);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 16, 409, 201);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    bSave = new TXPButton(QStringLiteral("&Save"), this);
    bSave->setObjectName(QStringLiteral("bSave"));
    bSave->setGeometry(262, 225, 75, 23);
    bSave->setDefault(true);
    bSave->setAutoDefault(false);
    connect(bSave, &QPushButton::clicked, this, [this] { bSaveClick(); });

    bCancel = new TXPButton(QStringLiteral("Cancel"), this);
    bCancel->setObjectName(QStringLiteral("bCancel"));
    bCancel->setGeometry(342, 225, 75, 23);
    bCancel->setAutoDefault(false);
    // Escape rejects the dialog as well.
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfSetText::~TfSetText() = default;

void TfSetText::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfSetText::FormShow()
{
    QStringList lines;
    for (const std::string& text : ReadHistory(*FIni))
        lines.append(QString::fromStdString(text));
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

std::vector<std::string> TfSetText::Texts() const
{
    std::vector<std::string> texts;
    for (const QString& line : Memo1->toPlainText().split(QLatin1Char('\n'))) {
        // The store trims values, so a line of blanks would come back empty.
        std::string text = TrimBlanks(line.toStdString());
        if (!text.empty())
            texts.push_back(std::move(text));
    }
    return texts;
}

void TfSetText::bSaveClick()
{
    FIni->SetAutoFlush(false);
    if (WriteHistory(*FIni, Texts()) && FIni->UpdateFile()) {
        accept();
        return;
    }
    const std::string reason = FIni->LastError();
    // Whatever was collected is dropped: the next try starts again from the file.
    FIni = std::make_unique<TIniFile>(FIni->FileName());
    if (FDialogs)
        FDialogs->MessageBox("The sample texts could not be saved.\n" + reason, std::string(),
                             TMsgIcon::Warning, TMsgButtons::Ok);
}
