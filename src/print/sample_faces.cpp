#include "print/sample_faces.h"

#include <QFontDatabase>

#include <algorithm>

#include "fonts/font_info.h"
#include "platform/font_table.h"
#include "preview/raw_font_cache.h"

namespace {

QFont SizedFont(const QString& family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(std::max(pixelSize, 1));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// True when Qt knows a face of the record's family and style name.
bool KnownFace(const TFontInfo& font)
{
    const QString family = QString::fromStdString(font.FamilyName);
    if (!QFontDatabase::hasFamily(family))
        return false;
    const QString style = QString::fromStdString(font.SubfamilyName);
    return QFontDatabase::styles(family).contains(style, Qt::CaseInsensitive);
}

}  // namespace

TSampleFaces::TSampleFaces(IFontTable* table, TRawFontCache& cache, int pixelSize)
    : FTable(table), FCache(cache), FPixelSize(pixelSize)
{
}

TSampleFaces::~TSampleFaces()
{
    for (const std::string& path : FRegistered)
        FTable->Unregister(path);
}

bool TSampleFaces::ResolvesTo(const QFont& font, const QRawFont& file)
{
    const QRawFont resolved = QRawFont::fromFont(font);
    if (!resolved.isValid() || !file.isValid())
        return false;
    const QByteArray head = file.fontTable("head");
    const QByteArray name = file.fontTable("name");
    return !head.isEmpty() && !name.isEmpty() && resolved.fontTable("head") == head &&
           resolved.fontTable("name") == name;
}

QFont TSampleFaces::Candidate(const std::string& family, const std::string& style) const
{
    QFont font = SizedFont(QString::fromStdString(family), FPixelSize);
    if (!style.empty())
        font.setStyleName(QString::fromStdString(style));
    return font;
}

const TSampleFace& TSampleFaces::Face(const TFontInfo& font)
{
    const std::string key = font.FileName.empty()
                                ? "\n" + font.FullName
                                : font.FileName + "\n" + std::to_string(font.FaceIndex);
    auto it = FFaces.find(key);
    if (it == FFaces.end())
        it = FFaces.emplace(key, Resolve(font)).first;
    return it->second;
}

TSampleFace TSampleFaces::Resolve(const TFontInfo& font)
{
    TSampleFace face;
    const QFont fallback = SizedFont(QStringLiteral("DejaVu Sans"), FPixelSize);
    if (font.FileName.empty()) {
        // Known by name only: the name is taken as a family.
        face.Native = true;
        face.Font = SizedFont(QString::fromStdString(font.FullName), FPixelSize);
        return face;
    }
    // The file's own face (its face of a collection); a file that cannot be read gives a
    // face that says why.
    face.Face = RecordFace(FCache, font, FPixelSize, TFontStyles(), fallback);
    const QRawFont raw = face.Face.RawFont();
    if (!raw.isValid())
        return face;

    const auto tryFamilies = [&](const std::vector<std::string>& families) {
        for (const std::string& family : families) {
            const QFont candidate = Candidate(family, font.SubfamilyName);
            if (!family.empty() && ResolvesTo(candidate, raw)) {
                face.Native = true;
                face.Font = candidate;
                return true;
            }
        }
        return false;
    };
    if (tryFamilies({font.FamilyName}))
        return face;
    if (FTable) {
        // A file Qt does not know is registered, unless its family and style name a face Qt
        // knows already: two faces of one name would make every text of that family draw
        // in whichever Qt prefers.
        if (!FTable->IsRegistered(font.FileName) && !KnownFace(font) &&
            FTable->Register(font.FileName))
            FRegistered.push_back(font.FileName);
        std::vector<std::string> families = FTable->Families(font.FileName);
        families.push_back(font.FamilyName);
        if (tryFamilies(families))
            return face;
    }
    return face;
}
