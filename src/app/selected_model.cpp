#include "app/selected_model.h"

#include "app/string_table.h"

TSelectedModel::TSelectedModel(QObject* parent) : QAbstractListModel(parent) {}

void TSelectedModel::Rebuild(const TFontList& list)
{
    beginResetModel();
    FEntries.clear();
    FTotalBytes = 0;
    FHasFiles = list.Mode() != flmScreen;
    for (int i = 0; i < list.Count(); ++i) {
        const TFontInfo* font = list.Fonts(i);
        if (!font->Selected)
            continue;
        FEntries.push_back({font->FullName, i});
        if (FHasFiles && font->FileSize > 0)
            FTotalBytes += static_cast<std::uint64_t>(font->FileSize);
    }
    endResetModel();
}

std::string TSelectedModel::Summary(const std::string& separator) const
{
    if (!FHasFiles)
        return FormatStr("Selected=%d Fonts", Count());
    return FormatStr("Selected=%d Fonts (%s bytes)", Count(),
                     GroupThousands(FTotalBytes, separator).c_str());
}

int TSelectedModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant TSelectedModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= Count())
        return QVariant();
    const TEntry& entry = Entry(index.row());
    if (role == Qt::DisplayRole)
        return QString::fromStdString(entry.Name);
    if (role == IndexRole)
        return entry.Index;
    return QVariant();
}

std::string GroupThousands(std::uint64_t value, const std::string& separator)
{
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}
