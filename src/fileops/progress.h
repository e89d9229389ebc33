#pragma once

#include <cstdint>
#include <string>

// What the copy engine sees of its progress window. The window decides how it shows itself;
// the engine only reports and asks whether the user wants to stop.
class ICopyProgress {
public:
    virtual ~ICopyProgress() = default;
    // Shows the window with `title` over its owner and keeps the owner from starting or
    // closing anything until End; clears Cancelled and the labels of the last run.
    virtual void Begin(const std::string& title) = 0;
    // Hides the window and gives the owner back to the user.
    virtual void End() = 0;
    virtual bool Cancelled() const = 0;

    virtual void SetSource(const std::string& name) = 0;
    virtual void SetDest(const std::string& name) = 0;
    virtual int Current() const = 0;
    virtual void SetCurrent(int number) = 0;
    virtual void SetTotal(int number) = 0;
    // The line naming the file being copied.
    virtual void SetFileText(const std::string& text) = 0;
    // The run's total size, already formatted.
    virtual void SetTotalSizeText(const std::string& text) = 0;
    // The gauge counts bytes: its maximum, and bytes added as they are written. Adding may
    // let the application process pending events (the Cancel button works through them).
    virtual void SetMaxBytes(uint64_t total) = 0;
    virtual void AddBytes(uint64_t count) = 0;
    // Starts the remaining-time estimate; the gauge starts again from 0.
    virtual void StartEstimate() = 0;
};

// What the delete engine sees of its progress window.
class IDeleteProgress {
public:
    virtual ~IDeleteProgress() = default;
    // As for ICopyProgress; `total` is the gauge's maximum in files.
    virtual void Begin(int total) = 0;
    virtual void End() = 0;
    virtual bool Cancelled() const = 0;
    // Names the file being deleted and lets pending events through.
    virtual void SetItem(const std::string& name) = 0;
    // Advances the gauge by one file and lets pending events through.
    virtual void StepFile() = 0;
};
