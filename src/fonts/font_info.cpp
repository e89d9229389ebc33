#include "fonts/font_info.h"

std::string* TFontInfo::NameText(int nameID)
{
    switch (nameID) {
    case 0: return &Copyright;
    case 1: return &FamilyName;
    case 2: return &SubfamilyName;
    case 3: return &UniqueID;
    case 4: return &FullName;
    case 5: return &Version;
    case 6: return &PostScriptName;
    case 7: return &Trademark;
    default: return nullptr;
    }
}

void CopyFontInfo(TFontInfo& destination, const TFontInfo& source)
{
    destination.FileName = source.FileName;
    destination.Copyright = source.Copyright;
    destination.FamilyName = source.FamilyName;
    destination.SubfamilyName = source.SubfamilyName;
    destination.UniqueID = source.UniqueID;
    destination.FullName = source.FullName;
    destination.Version = source.Version;
    destination.PostScriptName = source.PostScriptName;
    destination.Trademark = source.Trademark;
    destination.FileSize = source.FileSize;
    destination.FaceIndex = source.FaceIndex;
    destination.Temporary = source.Temporary;
    destination.LangID = source.LangID;
}
