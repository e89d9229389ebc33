#pragma once

#include <string>

// The desktop's trash, where deleted fonts go so that the user can get them back.
class ITrash {
public:
    virtual ~ITrash() = default;
    // 0 on success, else one of the program's error codes (see error_codes.h).
    virtual int MoveToTrash(const std::string& path) = 0;
};
