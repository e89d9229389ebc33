#include "platform/qt_font_table.h"

#include <QFontDatabase>
#include <QStringList>

#include "platform/byte_path.h"

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
    int id = -1;
    if (QtCanSpell(path)) {
        id = QFontDatabase::addApplicationFont(PathToQt(path));
    } else {
        // A name Qt cannot spell (not valid UTF-8) is handed over as the file's bytes.
        QByteArray data;
        std::string error;
        if (ReadWholeFile(path, data, error))
            id = QFontDatabase::addApplicationFontFromData(data);
    }
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
