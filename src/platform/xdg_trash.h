#pragma once

#include "platform/trash.h"

// The freedesktop.org trash, by byte paths (a file name need not be valid UTF-8). A file on
// the volume of $XDG_DATA_HOME goes to $XDG_DATA_HOME/Trash; a file on another volume to
// that volume's $topdir/.Trash/$uid (when the administrator made one) or $topdir/.Trash-$uid.
// Its .trashinfo is written first, under a name no other trashed file has, and removed again
// when the move fails, so a file that stays where it was leaves nothing in the trash. A file
// is only ever renamed, never copied and removed, so it reaches the trash whole or not at all.
class TXdgTrash : public ITrash {
public:
    int MoveToTrash(const std::string& path) override;
};
