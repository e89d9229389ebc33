#pragma once

#include <functional>

// A two-dimensional map with a size and change notification; the base of TBitmap32.
class TCustomMap {
public:
    TCustomMap() = default;
    virtual ~TCustomMap() = default;
    TCustomMap(const TCustomMap&) = delete;
    TCustomMap& operator=(const TCustomMap&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int value) { SetSize(value, FHeight); }
    void SetHeight(int value) { SetSize(FWidth, value); }
    // Stores the size, then raises Changed and OnResize.
    virtual void SetSize(int newWidth, int newHeight);
    virtual bool Empty() const { return FWidth == 0 || FHeight == 0; }

    // Changes between BeginUpdate and the matching EndUpdate raise no OnChange.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // Raises OnChange unless an update is in progress.
    void Changed();

    std::function<void(TCustomMap* Sender)> OnChange;
    std::function<void(TCustomMap* Sender)> OnResize;

private:
    int FWidth = 0;
    int FHeight = 0;
    int FUpdateCount = 0;
};
