#pragma once

#include <cstdint>

// The colour picker, behind an interface so that tests can answer it.
class IColorDialog {
public:
    virtual ~IColorDialog() = default;
    // Opens the picker preset to `color` (0x00BBGGRR). On OK stores the choice in `color`
    // and returns true; Cancel returns false and leaves `color` as it was.
    virtual bool ChooseColor(std::int32_t& color) = 0;
};
