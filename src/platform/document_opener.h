#pragma once

#include <string>

// Opens a document or an address with the program the user associated with it.
class IDocumentOpener {
public:
    virtual ~IDocumentOpener() = default;
    // `target` is a local path (absolute) or an address such as https://… or mailto:….
    virtual bool Open(const std::string& target) = 0;
};
