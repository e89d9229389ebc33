#pragma once

#include "platform/font_change.h"

class IInstalledFontStore;
class TFontconfigStore;

// Font-change notification: brings fontconfig's cache of the user font folder up to date,
// then tells the program's listeners.
class TFontconfigNotifier : public IFontChangeNotifier {
public:
    explicit TFontconfigNotifier(IInstalledFontStore& store);
    void Broadcast() override;

private:
    TFontconfigStore* FStore;
};
