#pragma once

#include "platform/trash.h"

// The freedesktop.org trash, through the toolkit (files land in $XDG_DATA_HOME/Trash with
// their .trashinfo, or in the volume's own trash folder).
class TXdgTrash : public ITrash {
public:
    int MoveToTrash(const std::string& path) override;
};
