#pragma once

#include <QDialog>

#include <string>

class QLabel;
class TXPButton;
class TXPEdit;

// The modal one-line text prompt: a word-wrapped description, one edit box, OK and Cancel.
// The layout is the smallest the window takes; a larger desktop font grows the window so that
// no text is ever cut. The box holds one line: line breaks typed or pasted become spaces.
class TfGetString : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    explicit TfGetString(QWidget* parent = nullptr);

    // Sets the description and the edit's text (all of it selected), then lays the window out.
    void Setup(const std::string& caption, const std::string& prompt, const std::string& text);
    std::string Text() const;

    // Any close other than OK (Cancel, Escape, the title bar) ends with ResultCancel.
    void reject() override;

    QLabel* Descript = nullptr;
    TXPEdit* Edit = nullptr;
    TXPButton* Ok = nullptr;
    TXPButton* Cancel = nullptr;

private:
    void Arrange();
    void JoinLines();
};

// Asks for one line of text in a TfGetString centred over `owner`. Returns 1 for OK, when
// `text` receives the edit's content (possibly empty); 2 for any other close, when `text`
// keeps its value.
int PromptText(QWidget* owner, const std::string& caption, const std::string& prompt,
               std::string& text);

// `text` with every line break (CR LF, CR, LF and the Unicode line and paragraph separators)
// turned into one space.
QString OneLine(const QString& text);
