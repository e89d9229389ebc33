#pragma once

#include <cstdint>
#include <string>

// Free space of the volume holding a folder, asked before a batch of files is copied there.
class IFreeSpace {
public:
    virtual ~IFreeSpace() = default;
    // Bytes this user may still write on the volume holding `folder`; 0 when the volume
    // cannot be queried (the caller then reports too little space rather than trying).
    virtual uint64_t FreeBytes(const std::string& folder) = 0;
};

// The real query (statvfs).
class TVolumeFreeSpace : public IFreeSpace {
public:
    uint64_t FreeBytes(const std::string& folder) override;
};
