#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Holds a progress window's owner while a file run is in progress: the wait cursor is
// shown, the owner is disabled (no command can start) and refuses to close, and the window
// is shown centred over it. Release gives everything back; only the run's end calls it.
class TRunHold : public QObject {
public:
    void Hold(QWidget& window, QWidget* owner);
    void Release();
    bool Holding() const { return FHolding; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> FOwner;
    bool FHolding = false;
};
