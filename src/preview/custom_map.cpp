#include "preview/custom_map.h"

void TCustomMap::SetSize(int newWidth, int newHeight)
{
    FWidth = newWidth;
    FHeight = newHeight;
    Changed();
    if (OnResize)
        OnResize(this);
}

void TCustomMap::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
}

void TCustomMap::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}
