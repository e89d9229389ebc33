#pragma once

#include <map>

#include "platform/font_table.h"

// The process font table on Qt's font database (application fonts).
class TQtFontTable : public IFontTable {
public:
    ~TQtFontTable() override;
    bool Register(const std::string& path) override;
    bool Unregister(const std::string& path) override;
    bool IsRegistered(const std::string& path) const override;
    std::vector<std::string> Families(const std::string& path) const override;

private:
    struct TEntry {
        int Id = -1;
        int Count = 0;
    };
    std::map<std::string, TEntry> FEntries;
};
