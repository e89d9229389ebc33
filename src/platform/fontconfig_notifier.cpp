#include "platform/fontconfig_notifier.h"

#include "platform/fontconfig_store.h"

TFontconfigNotifier::TFontconfigNotifier(IInstalledFontStore& store)
    : FStore(dynamic_cast<TFontconfigStore*>(&store))
{
}

void TFontconfigNotifier::Broadcast()
{
    if (FStore)
        FStore->RefreshUserFolderCache();
    NotifyListeners();
}
