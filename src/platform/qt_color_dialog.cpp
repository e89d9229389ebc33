#include "platform/qt_color_dialog.h"

#include <QApplication>
#include <QColorDialog>

bool TQtColorDialog::ChooseColor(std::int32_t& color)
{
    const QColor initial(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    const QColor chosen =
        QColorDialog::getColor(initial, FOwner ? FOwner : QApplication::activeWindow());
    if (!chosen.isValid())
        return false;
    color = chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16);
    return true;
}
