#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>

TMsgAnswer TQtDialogs::MessageBox(const std::string& text, const std::string& caption,
                                  TMsgIcon icon, TMsgButtons buttons)
{
    return Show(text, caption, icon, buttons, nullptr, nullptr);
}

TMsgAnswer TQtDialogs::MessageBoxWithCheck(const std::string& text, const std::string& caption,
                                           TMsgIcon icon, TMsgButtons buttons,
                                           const std::string& checkText, bool& checked)
{
    return Show(text, caption, icon, buttons, &checkText, &checked);
}

TMsgAnswer TQtDialogs::Show(const std::string& text, const std::string& caption, TMsgIcon icon,
                            TMsgButtons buttons, const std::string* checkText, bool* checked)
{
    QMessageBox box(FOwner ? FOwner : QApplication::activeWindow());
    box.setText(QString::fromStdString(text));
    box.setWindowTitle(caption.empty() ? QApplication::applicationName()
                                       : QString::fromStdString(caption));
    switch (icon) {
    case TMsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case TMsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case TMsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case TMsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case TMsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case TMsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case TMsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case TMsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case TMsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (checkText) {
        auto* check = new QCheckBox(QString::fromStdString(*checkText), &box);
        check->setObjectName(QStringLiteral("DoNotShowAgain"));
        box.setCheckBox(check);
    }
    const int answer = box.exec();
    if (checked)
        *checked = box.checkBox() && box.checkBox()->isChecked();
    switch (answer) {
    case QMessageBox::Yes: return TMsgAnswer::Yes;
    case QMessageBox::No: return TMsgAnswer::No;
    case QMessageBox::Cancel: return TMsgAnswer::Cancel;
    default: return buttons == TMsgButtons::Ok ? TMsgAnswer::Ok : TMsgAnswer::Cancel;
    }
}
