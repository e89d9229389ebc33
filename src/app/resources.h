#pragma once

// Makes the program's pictures (":/…") available. The pictures are compiled into the static
// library, whose resource table is only registered by this call; calling it again is harmless.
void LoadResources();
