#include "app/window_place.h"

#include <QWidget>

void CenterOver(QWidget& window, const QWidget& owner)
{
    window.move(owner.x() + owner.width() / 2 - window.width() / 2,
                owner.y() + owner.height() / 2 - window.height() / 2);
}
