#pragma once

#include <string>

#include "platform/platform.h"

class QWidget;
class TFontList;

// What the print command prints: the preview's fonts, at its size, with its sample text.
struct TPrintRequest {
    const TFontList* Fonts = nullptr;
    int FontSize = 16;
    std::string Sample;
};

// The whole print command: measures the current printer, shows the print dialog centred
// over `owner` and prints the pages it asks for with the wait cursor showing. Problems
// (nothing to print, a failed job) are told through the platform's dialogs.
void PrintFontSheets(const TPlatform& platform, QWidget& owner, const TPrintRequest& request);
