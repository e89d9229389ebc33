#pragma once

#include <QObject>

#include <csignal>
#include <functional>
#include <vector>

class QSocketNotifier;

// Turns the signals with which a desktop ends a program (SIGTERM at log-out or from a task
// manager, SIGHUP when its session or terminal goes, SIGINT from Ctrl+C) into one call of
// `OnQuit` on the user-interface thread, so that the program can close its window as the
// user would and keep its settings. The signal handler only writes a byte to a socket; all
// work happens in the event loop. Each handler resets itself when it runs, so a second
// signal ends a program that is stuck. The destructor restores the previous handlers.
// One instance at a time.
class TQuitSignals : public QObject {
public:
    explicit TQuitSignals(std::function<void()> onQuit,
                          std::vector<int> handled = {SIGTERM, SIGHUP, SIGINT},
                          QObject* parent = nullptr);
    ~TQuitSignals() override;

    // False when the socket or a handler could not be set up; the signals then keep their
    // previous handling.
    bool Active() const { return FNotifier != nullptr; }

private:
    static void Handler(int signal);
    void Drain();

    std::function<void()> FOnQuit;
    std::vector<int> FSignals;
    std::vector<struct sigaction> FPrevious;
    int FSockets[2] = {-1, -1};
    QSocketNotifier* FNotifier = nullptr;
};
