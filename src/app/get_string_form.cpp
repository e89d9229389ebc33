#include "app/get_string_form.h"

#include <QLabel>

#include <algorithm>

#include "app/window_place.h"
#include "controls/xp_controls.h"

namespace {

// The smallest layout: client 377 x 101, description 269 x 48 at (13, 16), edit 277 wide at
// (13, 69), OK at (300, 37) and Cancel at (300, 65).
constexpr int Margin = 13;
constexpr int DescriptTop = 16;
constexpr int DescriptWidth = 269;
constexpr int DescriptHeight = 48;
constexpr int EditTop = 69;
constexpr int EditWidth = 277;
constexpr int EditHeight = 21;
constexpr int ButtonLeft = 300;
constexpr int OkTop = 37;
constexpr int CancelTop = 65;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ClientWidth = 377;
constexpr int ClientHeight = 101;

bool IsLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029) ||
           c == QChar(0x85) || c == u'\v' || c == u'\f';
}

}  // namespace

QString OneLine(const QString& text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!IsLineBreak(text[i])) {
            line += text[i];
            continue;
        }
        line += u' ';
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    return line;
}

TfGetString::TfGetString(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fGetString"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Descript = new QLabel(this);
    Descript->setObjectName(QStringLiteral("Descript"));
    Descript->setWordWrap(true);
    Descript->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Edit = new TXPEdit(this);
    Edit->setObjectName(QStringLiteral("Edit"));
    connect(Edit, &TXPEdit::textChanged, this, [this] { JoinLines(); });

    Ok = new TXPButton(QStringLiteral("OK"), this);
    Ok->setObjectName(QStringLiteral("Ok"));
    Ok->setDefault(true);
    connect(Ok, &TXPButton::clicked, this, [this] { done(ResultOk); });

    Cancel = new TXPButton(QStringLiteral("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setAutoDefault(false);
    connect(Cancel, &TXPButton::clicked, this, [this] { done(ResultCancel); });

    Arrange();
}

void TfGetString::Setup(const std::string& caption, const std::string& prompt,
                        const std::string& text)
{
    setWindowTitle(QString::fromStdString(caption));
    Descript->setText(QString::fromStdString(prompt));
    Edit->setText(QString::fromStdString(text));
    Edit->selectAll();
    Edit->setFocus();
    Arrange();
}

std::string TfGetString::Text() const
{
    return OneLine(Edit->text()).toStdString();
}

void TfGetString::reject()
{
    done(ResultCancel);
}

void TfGetString::Arrange()
{
    // Each control keeps its place and size unless the desktop font needs more room; what
    // lies below or beside a grown control moves along.
    const int descriptHeight = std::max(DescriptHeight, Descript->heightForWidth(DescriptWidth));
    Descript->setGeometry(Margin, DescriptTop, DescriptWidth, descriptHeight);

    const int editTop = std::max(EditTop, DescriptTop + descriptHeight + 5);
    // Room for a line of the edit's font inside its frame.
    const int editHeight = std::max(EditHeight, Edit->fontMetrics().height() + 8);
    Edit->setGeometry(Margin, editTop, EditWidth, editHeight);

    // The buttons grow only when their captions need it, not to the style's preferred size.
    const QFontMetrics metrics(Ok->font());
    const int captionWidth = std::max(metrics.horizontalAdvance(Ok->text()),
                                      metrics.horizontalAdvance(Cancel->text()));
    const int buttonWidth = std::max(ButtonWidth, captionWidth + 16);
    const int buttonHeight = std::max(ButtonHeight, metrics.height() + 8);
    // Cancel stays level with the edit, as in the smallest layout.
    const int cancelTop =
        std::max({CancelTop, OkTop + buttonHeight + 3, editTop + editHeight - buttonHeight});
    const int okTop = std::max(OkTop, cancelTop - buttonHeight - 3);
    Ok->setGeometry(ButtonLeft, okTop, buttonWidth, buttonHeight);
    Cancel->setGeometry(ButtonLeft, cancelTop, buttonWidth, buttonHeight);

    const int width = std::max(ClientWidth, ButtonLeft + buttonWidth + 2);
    const int height = std::max({ClientHeight, editTop + editHeight + 11,
                                 cancelTop + buttonHeight + 11});
    setFixedSize(width, height);
}

void TfGetString::JoinLines()
{
    const QString text = Edit->text();
    const QString line = OneLine(text);
    if (line == text)
        return;
    // A CR LF pair shrinks to one space: keep the cursor after the same character.
    const int cursor = static_cast<int>(OneLine(text.left(Edit->cursorPosition())).size());
    const QSignalBlocker block(Edit);
    Edit->setText(line);
    Edit->setCursorPosition(cursor);
}

int PromptText(QWidget* owner, const std::string& caption, const std::string& prompt,
               std::string& text)
{
    TfGetString form(owner);
    form.Setup(caption, prompt, text);
    if (owner)
        CenterOver(form, *owner);
    const int result = form.exec() == TfGetString::ResultOk ? TfGetString::ResultOk
                                                            : TfGetString::ResultCancel;
    if (result == TfGetString::ResultOk)
        text = form.Text();
    return result;
}
