#include "fileops/run_hold.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

#include "app/window_place.h"

void TRunHold::Hold(QWidget& window, QWidget* owner)
{
    Release();
    FHolding = true;
    FOwner = owner;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (owner) {
        CenterOver(window, *owner);
        owner->setEnabled(false);
        owner->installEventFilter(this);
    }
    // A window with the owner as parent would otherwise be disabled along with it.
    window.setEnabled(true);
    window.show();
    QCoreApplication::processEvents();
}

void TRunHold::Release()
{
    if (!FHolding)
        return;
    FHolding = false;
    if (FOwner) {
        FOwner->removeEventFilter(this);
        FOwner->setEnabled(true);
    }
    FOwner = nullptr;
    QApplication::restoreOverrideCursor();
}

bool TRunHold::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FOwner && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
