#pragma once

#include <cstdint>
#include <string>

// One font: its file and the texts of the file's naming table, or, for a font the screen
// offers without a file, only a name. Texts are UTF-8.
class TFontInfo {
public:
    // Full path of the font file; empty for a record made from a name only.
    std::string FileName;
    // Which face of the file the record is: 0 for a single font, the face's position for a
    // font collection (.ttc, .otc). Everything that reads or draws the file uses this face.
    int FaceIndex = 0;
    // Language of the last naming-table record taken (0 until one is taken).
    uint16_t LangID = 0;
    std::string Copyright;       // name ID 0
    std::string FamilyName;      // name ID 1
    std::string SubfamilyName;   // name ID 2
    std::string UniqueID;        // name ID 3
    // Name ID 4, or the name of a name-only record. The record's key: lists sort and find
    // by it, favourites store it.
    std::string FullName;
    std::string Version;         // name ID 5
    std::string PostScriptName;  // name ID 6
    std::string Trademark;       // name ID 7
    // The user's mark, kept by the preview.
    bool Selected = false;
    // The owning list registered the file with the process font table itself and gives the
    // registration back when the record goes (see TFontList).
    bool Temporary = false;
    // Language the naming-table reader accepts: 0 takes the user's language or US English,
    // any other value only that language.
    uint16_t PreferredLangID = 0;
    // Size of the file in bytes; 0 for a name-only record or when the size could not be read.
    int64_t FileSize = 0;

    // The text field of naming-table name ID 0..7; null for any other ID.
    std::string* NameText(int nameID);
};

// Copies the file, the face index, the names, the size, Temporary and LangID. Selected and PreferredLangID
// are left alone, so a copy made into a fresh record starts unselected.
void CopyFontInfo(TFontInfo& destination, const TFontInfo& source);
