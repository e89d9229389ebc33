#pragma once

#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/free_space.h"
#include "platform/installed_fonts.h"
#include "platform/trash.h"

namespace fonzeta::test {

// A volume with a chosen number of free bytes.
class TFakeFreeSpace : public IFreeSpace {
public:
    explicit TFakeFreeSpace(uint64_t bytes = UINT64_MAX) : Bytes(bytes) {}
    uint64_t FreeBytes(const std::string& folder) override
    {
        Asked.push_back(folder);
        return Bytes;
    }
    uint64_t Bytes;
    std::vector<std::string> Asked;
};

// A trash that refuses chosen paths with a code and hands the rest to `Real` (when set).
class TFakeTrash : public ITrash {
public:
    int MoveToTrash(const std::string& path) override
    {
        Calls.push_back(path);
        if (auto it = Refusals.find(path); it != Refusals.end())
            return it->second;
        return Real ? Real->MoveToTrash(path) : 0;
    }
    std::map<std::string, int> Refusals;
    std::vector<std::string> Calls;
    ITrash* Real = nullptr;
};

// The real store of installed fonts, counting the folder rescans asked of it.
class TCountingStore : public IInstalledFontStore {
public:
    explicit TCountingStore(IInstalledFontStore& real) : FReal(real) {}
    std::string UserFontFolder() override { return FReal.UserFontFolder(); }
    std::vector<std::string> InstalledFiles() override { return FReal.InstalledFiles(); }
    bool MakeKnown(const std::string& path) override
    {
        ++MadeKnown;
        return FReal.MakeKnown(path);
    }
    bool Forget(const std::string& path) override
    {
        ++Forgotten;
        return FReal.Forget(path);
    }
    bool RescanFolder(const std::string& folder) override
    {
        Rescans.push_back(folder);
        return FReal.RescanFolder(folder);
    }
    std::vector<std::string> Rescans;
    int MadeKnown = 0;
    int Forgotten = 0;

private:
    IInstalledFontStore& FReal;
};

// Every name in `folder` (dot files too), sorted; empty when the folder is missing.
inline std::vector<std::string> Listing(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// Runs `action` once, at the first event pump at which `condition` holds. The watcher lives
// until the returned object goes.
inline std::unique_ptr<QTimer> RunWhen(std::function<bool()> condition, std::function<void()> action)
{
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(0);
    QTimer* raw = timer.get();
    QObject::connect(raw, &QTimer::timeout, [raw, condition, action] {
        if (!condition())
            return;
        raw->stop();
        action();
    });
    timer->start();
    return timer;
}

}  // namespace fonzeta::test
