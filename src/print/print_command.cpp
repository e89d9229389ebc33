#include "print/print_command.h"

#include <QApplication>
#include <QPrinter>

#include "app/window_place.h"
#include "fonts/font_list.h"
#include "platform/dialogs.h"
#include "platform/printer_service.h"
#include "preview/raw_font_cache.h"
#include "print/print_form.h"
#include "print/print_job.h"
#include "print/sample_faces.h"
#include "print/sheet_painter.h"

namespace {

void Tell(const TPlatform& platform, const std::string& text)
{
    if (platform.Dialogs)
        platform.Dialogs->MessageBox(text, "Print", TMsgIcon::Warning, TMsgButtons::Ok);
}

// Shows the wait cursor for its lifetime.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace

void PrintFontSheets(const TPlatform& platform, QWidget& owner, const TPrintRequest& request)
{
    if (!platform.Printer || !request.Fonts)
        return;
    const int count = request.Fonts->Count();
    if (count == 0) {
        Tell(platform, "There are no fonts to print.");
        return;
    }
    QPrinter& printer = platform.Printer->Printer();
    const int size = request.FontSize;
    TSheetMetrics metrics = MeasureSheet(printer, size);

    TfPrint dialog(platform, &owner);
    CenterOver(dialog, owner);
    dialog.SetSheet(metrics, count);
    dialog.OnMeasure = [&printer, size] { return MeasureSheet(printer, size); };
    dialog.SetMargins(TSheetLayout::InitialMargins(metrics.DpiX, metrics.DpiY));
    if (dialog.exec() != QDialog::Accepted)
        return;

    // Measured again: the setup dialog may have chosen another printer or paper.
    metrics = MeasureSheet(printer, size);
    const TSheetLayout layout(metrics, dialog.Margins(), count);
    if (!layout.HasRoom()) {
        Tell(platform, "The margins leave no room for a row of the sheet.");
        return;
    }
    const std::vector<int> pages =
        layout.PagesToPrint(dialog.FirstPage(), dialog.LastPage(), dialog.Filter());
    if (pages.empty()) {
        Tell(platform, "The page range and the filter select no page to print.");
        return;
    }

    TSheetTexts texts;
    texts.Title = dialog.Title();
    texts.NameColor = dialog.FontNameColor();
    texts.SampleColor = dialog.StringColor();
    texts.TitleColor = dialog.TitleColor();
    texts.FontSize = size;
    texts.Sample = request.Sample;

    std::string failure;
    {
        TWaitCursor wait;
        TRawFontCache cache;
        TSampleFaces faces(platform.FontTable, cache, SheetFont(size, metrics.DpiY).pixelSize());
        const TSheetPainter painter(layout, texts, *request.Fonts, faces);
        failure = PrintPages(printer, pages,
                             [&painter](QPainter& p, int page) { painter.PaintPage(p, page); });
    }
    if (!failure.empty())
        Tell(platform, failure);
}
