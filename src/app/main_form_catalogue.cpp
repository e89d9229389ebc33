#include "app/main_form.h"

#include "fonts/font_walk.h"
#include "fonts/problems_form.h"
#include "fonts/scan_window.h"

void TMainForm::ScanBegin(TFontList* sender, const std::string& text)
{
    int total = 0;
    if (sender->Mode() == flmInstalled) {
        // The event tells the number of files; a collection among them adds its faces.
        bool ok = false;
        total = QString::fromStdString(text).toInt(&ok);
        if (!ok)
            total = 0;
        total += CountFontFaces(sender->InstalledFiles()) -
                 static_cast<int>(sender->InstalledFiles().size());
    } else {
        total = CountFontFiles(text, sender->SysFontFolder());
    }
    if (FScan) {
        FScan->SetTotal(total);
        FScan->CenterOver(this);
        FScan->ShowModeless();
    }
    setEnabled(false);
}

void TMainForm::ScanFontFound(TFontList*, const std::string& fullName)
{
    // Advancing the scan window also lets it repaint, a few dozen times a second.
    if (FScan)
        FScan->StepFont(fullName);
}

void TMainForm::ScanEnd(TFontList* sender)
{
    setEnabled(true);
    if (FScan) {
        FScan->Finish();
        FScan->hide();
    }
    ShowScanProblems(sender);
}

void TMainForm::ShowScanProblems(TFontList* sender)
{
    if (sender->Problems().empty()) {
        if (FProblems)
            FProblems->hide();
        return;
    }
    if (!FProblems)
        FProblems = new TfProblems(this);
    FProblems->SetProblems(sender->Problems());
    FProblems->show();
    FProblems->raise();
}
