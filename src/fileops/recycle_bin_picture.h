#pragma once

#include <QPixmap>

// The 32 x 32 picture of the delete windows: a translucent bin with papers in it and a
// green recycling arrow, on a transparent background. Drawn here rather than loaded.
QPixmap RecycleBinPicture();
