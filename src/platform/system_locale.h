#pragma once

#include "platform/locale_info.h"

class QLocale;

// The user's locale as the toolkit reads it from the environment.
class TSystemLocale : public ILocaleInfo {
public:
    uint16_t UserLangID() const override;
    std::string ThousandsSeparator() const override;
};

// Windows-style language ID of a locale (0x0409 for en-US, 0x0412 for Korean, ...);
// 0x0409 when the language has no entry in the table.
uint16_t LangIdOf(const QLocale& locale);
