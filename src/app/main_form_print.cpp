#include <QAction>
#include <QToolButton>

#include "app/main_form.h"
#include "preview/font_list_view.h"
#include "print/print_command.h"

void TMainForm::CreatePrintCommands()
{
    auto* print = findChild<QAction*>(QStringLiteral("Print1"));
    const bool available = FPlatform.Printer != nullptr;
    print->setEnabled(available);
    tbPrint->setEnabled(available);
    connect(print, &QAction::triggered, this, [this] { Print1Click(); });
    connect(tbPrint, &QToolButton::clicked, this, [this] { Print1Click(); });
}

void TMainForm::Print1Click()
{
    TPrintRequest request;
    request.Fonts = &FontView->Items();
    request.FontSize = FontView->FontSize();
    request.Sample = FontView->Text();
    PrintFontSheets(FPlatform, *this, request);
}
