#pragma once

#include <cstdint>
#include <string>

// The user's language and number format.
class ILocaleInfo {
public:
    virtual ~ILocaleInfo() = default;
    // Windows-style language ID (0x0409 US English, 0x0412 Korean, ...); font naming
    // tables are keyed by these.
    virtual uint16_t UserLangID() const = 0;
    virtual std::string ThousandsSeparator() const = 0;
};
