#include "app/resources.h"

#include <QtGlobal>

void LoadResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(fonzeta);
        return true;
    }();
    (void)loaded;
}
