#include "preview/font_face.h"

#include <map>

#include <QFontDatabase>
#include <QRawFont>

namespace {

struct TFaceNames {
    QString family;
    QString style;
    int weight;
    QFont::Style slant;
};

}  // namespace

std::optional<QFont> FontFaceFromFile(const std::string& fileName)
{
    // Only names are kept: a QFont that outlived the application would outlive Qt's font cache.
    static std::map<std::string, TFaceNames> known;
    auto it = known.find(fileName);
    if (it == known.end()) {
        const QString path = QString::fromStdString(fileName);
        const QRawFont raw(path, 12.0);
        if (!raw.isValid() || raw.familyName().isEmpty())
            return std::nullopt;
        TFaceNames names{raw.familyName(), raw.styleName(), raw.weight(), raw.style()};
        if (!QFontDatabase::styles(names.family).contains(names.style) &&
            QFontDatabase::addApplicationFont(path) < 0)
            return std::nullopt;
        it = known.emplace(fileName, std::move(names)).first;
    }
    const TFaceNames& names = it->second;
    QFont font;
    font.setFamilies({names.family});
    font.setWeight(static_cast<QFont::Weight>(names.weight));
    font.setStyle(names.slant);
    if (!names.style.isEmpty())
        font.setStyleName(names.style);
    return font;
}
