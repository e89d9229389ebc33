#include "platform/qt_font_table.h"

#include <QFontDatabase>
#include <QStringList>

TQtFontTable::~TQtFontTable()
{
    for (const auto& [path, entry] : FEntries)
        QFontDatabase::removeApplicationFont(entry.Id);
}

bool TQtFontTable::Register(const std::string& path)
{
    auto it = FEntries.find(path);
    if (it != FEntries.end()) {
        ++it->second.Count;
        return true;
    }
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
    if (id < 0)
        return false;
    FEntries.emplace(path, TEntry{id, 1});
    return true;
}

bool TQtFontTable::Unregister(const std::string& path)
{
    auto it = FEntries.find(path);
    if (it == FEntries.end())
        return false;
    if (--it->second.Count == 0) {
        QFontDatabase::removeApplicationFont(it->second.Id);
        FEntries.erase(it);
    }
    return true;
}

bool TQtFontTable::IsRegistered(const std::string& path) const
{
    return FEntries.count(path) != 0;
}

std::vector<std::string> TQtFontTable::Families(const std::string& path) const
{
    std::vector<std::string> result;
    auto it = FEntries.find(path);
    if (it == FEntries.end())
        return result;
    for (const QString& family : QFontDatabase::applicationFontFamilies(it->second.Id))
        result.push_back(family.toStdString());
    return result;
}
