#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/font_change.h"
#include "platform/font_table.h"
#include "platform/installed_fonts.h"
#include "platform/platform.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace fonzeta::test {

// A process font table that counts registrations per path and refuses chosen paths.
// Each call is written to `Log` (when set) as "register <path>" / "unregister <path>".
class TFakeFontTable : public IFontTable {
public:
    bool Register(const std::string& path) override
    {
        if (Refused.count(path))
            return false;
        ++Counts[path];
        if (Log)
            Log->push_back("register " + path);
        return true;
    }
    bool Unregister(const std::string& path) override
    {
        auto it = Counts.find(path);
        if (it == Counts.end() || it->second == 0) {
            ++FailedUnregisters;
            return false;
        }
        --it->second;
        if (Log)
            Log->push_back("unregister " + path);
        return true;
    }
    bool IsRegistered(const std::string& path) const override
    {
        auto it = Counts.find(path);
        return it != Counts.end() && it->second > 0;
    }
    std::vector<std::string> Families(const std::string&) const override { return {}; }

    int Registered() const
    {
        int total = 0;
        for (const auto& [path, count] : Counts)
            total += count;
        return total;
    }

    std::map<std::string, int> Counts;
    std::set<std::string> Refused;
    int FailedUnregisters = 0;
    std::vector<std::string>* Log = nullptr;
};

// Counts broadcasts and writes "broadcast" to `Log` (when set).
class TFakeFontChange : public IFontChangeNotifier {
public:
    void Broadcast() override
    {
        ++Count;
        if (Log)
            Log->push_back("broadcast");
        NotifyListeners();
    }
    int Count = 0;
    std::vector<std::string>* Log = nullptr;
};

// A fixed user font folder and list of installed files.
class TFakeInstalledStore : public IInstalledFontStore {
public:
    std::string UserFontFolder() override { return Folder; }
    std::vector<std::string> InstalledFiles() override
    {
        ++Queries;
        return Files;
    }
    bool MakeKnown(const std::string&) override { return false; }
    bool Forget(const std::string&) override { return false; }

    std::string Folder;
    std::vector<std::string> Files;
    int Queries = 0;
};

// The catalogue's services as fakes: a font table, a font-change notice, an installed-font
// store over a temporary user font folder, an English locale and the dialogs `TDialogs`.
template <class TDialogs = TScriptedDialogs>
struct TFakeFontPlatform {
    TFakeFontPlatform()
    {
        Store.Folder = Temp.MakeFolder("userfonts");
        Platform.FontTable = &Table;
        Platform.FontChange = &Change;
        Platform.InstalledFonts = &Store;
        Platform.Locale = &Locale;
        Platform.Dialogs = &Dialogs;
    }

    TTempFolder Temp;
    TFakeFontTable Table;
    TFakeFontChange Change;
    TFakeInstalledStore Store;
    TFakeLocale Locale;
    TDialogs Dialogs;
    TPlatform Platform;
};

}  // namespace fonzeta::test
