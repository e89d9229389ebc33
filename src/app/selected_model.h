#pragma once

#include <QAbstractListModel>

#include <cstdint>
#include <string>
#include <vector>

#include "fonts/font_list.h"

// The marked fonts of a preview list as the selection pane lists them: each entry a font's
// full name and its index in the preview's list. It holds copies only and is rebuilt from the
// marks after every change, in one model reset so that the view draws once.
class TSelectedModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The data role that gives an entry's index in the preview's list.
    static constexpr int IndexRole = Qt::UserRole + 1;

    struct TEntry {
        std::string Name;
        int Index = 0;
    };

    explicit TSelectedModel(QObject* parent = nullptr);

    // Takes the marked records of `list` in order. Fonts with files (every mode but screen
    // fonts) add their 64-bit file sizes to TotalBytes.
    void Rebuild(const TFontList& list);

    int Count() const { return static_cast<int>(FEntries.size()); }
    const TEntry& Entry(int row) const { return FEntries[static_cast<size_t>(row)]; }
    bool HasFiles() const { return FHasFiles; }
    std::uint64_t TotalBytes() const { return FTotalBytes; }
    // "Selected=N Fonts", with " (B bytes)" for fonts with files, B grouped by `separator`.
    std::string Summary(const std::string& separator) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<TEntry> FEntries;
    std::uint64_t FTotalBytes = 0;
    bool FHasFiles = false;
};

// `value` in decimal, every exact digit, with `separator` between groups of three.
std::string GroupThousands(std::uint64_t value, const std::string& separator);
