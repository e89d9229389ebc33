#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "platform/platform.h"
#include "preview/color32.h"
#include "print/sheet_layout.h"

class QLabel;
class QSpinBox;
class TColorSwatch;
class TXPButton;
class TXPComboBox;
class TXPEdit;
class TXPGroupBox;
class TXPRadioButton;

// The print dialog: title, colours of the three kinds of text, margins in millimetres, page
// range and odd/even filter, the printer and a page count that follows the margins. It
// closes with Accepted only for a request that prints at least one page.
class TfPrint : public QDialog {
    Q_OBJECT
public:
    explicit TfPrint(const TPlatform& platform, QWidget* parent = nullptr);

    // The printer's measurements and the number of fonts, for the page count.
    void SetSheet(const TSheetMetrics& metrics, int fontCount);
    // Measures the current printer again; called after the setup dialog chose a printer.
    std::function<TSheetMetrics()> OnMeasure;

    TSheetMargins Margins() const;
    void SetMargins(const TSheetMargins& margins);
    // The sheet as the dialog's values lay it out.
    TSheetLayout Layout() const;

    // The range to print, both -1 for every page; valid after the dialog was accepted.
    int FirstPage() const { return FFirstPage; }
    int LastPage() const { return FLastPage; }
    TPageFilter Filter() const;
    std::string Title() const;
    TColor FontNameColor() const;
    TColor StringColor() const;
    TColor TitleColor() const;

    void FormShow();
    void seTopChange();
    void ePagesChange();
    void bPrintClick();
    void bPrintSetupClick();
    void sFontNameMouseUp(TColorSwatch* sender);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TXPGroupBox* AddGroup(const char* name, const char* caption, QRect place);
    QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QPoint place);
    void ShowPrinter(const std::string& prefix);
    void Refuse(const std::string& text, const std::string& caption);

    TPlatform FPlatform;
    TSheetMetrics FMetrics;
    int FFontCount = 0;
    int FFirstPage = -1;
    int FLastPage = -1;

    QLabel* lPrinter = nullptr;
    TXPButton* bPrintSetup = nullptr;
    TXPEdit* eTitle = nullptr;
    TColorSwatch* sFontName = nullptr;
    TColorSwatch* sString = nullptr;
    TColorSwatch* sTitle = nullptr;
    TXPRadioButton* rbAll = nullptr;
    TXPRadioButton* rbPages = nullptr;
    TXPEdit* ePages = nullptr;
    QSpinBox* seTop = nullptr;
    QSpinBox* seBottom = nullptr;
    QSpinBox* seLeft = nullptr;
    QSpinBox* seRight = nullptr;
    TXPComboBox* cbPrint = nullptr;
    QLabel* lPages = nullptr;
    TXPButton* bPrint = nullptr;
    TXPButton* bCancel = nullptr;
};
