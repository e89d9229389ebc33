#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TFontInfo;
struct TPlatform;

// Reader of the naming table of TrueType and OpenType font files and of each face of a font
// collection (.ttc, .otc: a "ttcf" header listing the offset table of every face).
//
// Only the bytes it needs are read: the collection header when there is one, the offset
// table with the table records, then the naming table. Every offset and length found in the file is checked against the file's
// size before it is used, so a damaged or hostile file ends in a message, never in a read
// outside the file or outside a buffer.
//
// A name record is taken when it is a Microsoft one (platform 3) for name IDs 0 to 7, in
// the user's language or US English (or only in PreferredLangID when that is set), and its
// name ID was not taken yet: the first suitable record of each name ID wins. Wansung
// (encoding 5) records are taken only in Korean. Names longer than 1022 bytes are cut to
// their first 1022 bytes (whole UTF-16 units).

enum class TNameReadStatus {
    Missing,  // no file at the path: the record was left untouched
    Done,     // the names were read, or the file has no naming table
    Failed,   // the file cannot be read or is damaged; Message says how
    Stopped,  // a name record points outside the file; reading stopped, Message says how
};

struct TNameReadResult {
    TNameReadStatus Status = TNameReadStatus::Done;
    std::string Message;
    // Faces the file holds: the count of a collection's header (also when reading the face
    // failed after the header was read), 1 for any other file.
    int FaceCount = 1;
};

// Fills FileName, FileSize and the names of `font` from face `font.FaceIndex` of the file
// at `path`, for a user whose language is `userLangID`; shows nothing. What was read before
// a failure stays in the record. A face index that the file does not have fails with
// "Invalid TrueType Font!".
TNameReadResult ReadNamingTable(TFontInfo& font, const std::string& path, uint16_t userLangID);

// Faces of the file at `path`: the count of a valid collection header, else 1 (also when
// the file cannot be read: reading its one face then says why).
int CountFaces(const std::string& path);

// CountFaces and ReadNamingTable on a file open for reading at `fd` (left open), which the
// record names `path`. For callers that hold the file already, such as the fuzz targets.
int CountFacesOfOpenFile(int fd);
TNameReadResult ReadNamingTableOfOpenFile(TFontInfo& font, int fd, const std::string& path,
                                          uint16_t userLangID);

// ReadNamingTable for the user of `platform` (its locale), showing a failure in a message
// box whose text is the file name, a line feed and the failure, and a stop in a box with
// only its text.
void ReadFontNames(TFontInfo& font, const std::string& path, const TPlatform& platform);

// The text of a name record of `length` bytes as UTF-8. Encoding 5 (Wansung) keeps the
// bytes that make up the Korean text (see HasZeroHighByteCode) and converts them from
// CP949; every other encoding is big-endian UTF-16, of which at most the first 1022 bytes
// are decoded. The text ends at its first zero.
std::string DecodeNameString(const uint8_t* bytes, uint16_t encodingID, size_t length);

// True when a Wansung record stores each byte of its text in the low half of a 16-bit
// unit: a zero byte followed by a byte of 0x80 or above, scanning in steps over the pairs.
bool HasZeroHighByteCode(const uint8_t* bytes, size_t length);
