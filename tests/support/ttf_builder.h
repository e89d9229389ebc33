#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fonzeta::test {

// One record of a naming table as it will lie in the file.
struct TNameRecordLayout {
    uint16_t PlatformID = 3;
    uint16_t EncodingID = 1;
    uint16_t LanguageID = 0x0409;
    uint16_t NameID = 0;
    // The stored bytes, placed one after the other in the string storage.
    std::string Bytes;
    // Overrides of the record's length and offset fields (else the real ones).
    std::optional<uint16_t> Length;
    std::optional<uint16_t> Offset;
};

// Builds small TrueType files byte by byte: the offset table, the table records, filler
// tables and a naming table, with a way to break each field the name reader relies on.
class TTtfBuilder {
public:
    // A Microsoft Unicode (encoding 1) record holding `text` as big-endian UTF-16.
    TTtfBuilder& Name(uint16_t nameID, const std::string& text, uint16_t languageID = 0x0409);
    // A Wansung (encoding 5) record holding `text` in CP949: ASCII characters as 16-bit units
    // with a zero high byte and Korean characters as one unit of their two bytes; with
    // `zeroHighBytes` every CP949 byte in a unit of its own with a zero high byte.
    TTtfBuilder& WansungName(uint16_t nameID, const std::string& text, bool zeroHighBytes = false,
                             uint16_t languageID = 0x0412);
    TTtfBuilder& Record(const TNameRecordLayout& record);
    // A table of `size` filler bytes whose record comes before the naming table's.
    TTtfBuilder& Table(const std::string& tag, size_t size);
    TTtfBuilder& WithoutNameTable();

    // Overrides of header fields (else the real values).
    TTtfBuilder& NumTables(uint16_t value);
    TTtfBuilder& NameTableOffset(uint32_t value);
    TTtfBuilder& NameCount(uint16_t value);
    TTtfBuilder& StringOffset(uint16_t value);
    // Cuts the finished file to its first `size` bytes.
    TTtfBuilder& TruncateTo(size_t size);

    std::vector<uint8_t> Build() const;
    // Writes the file and returns `path`; throws when it cannot.
    std::string Write(const std::string& path) const;

private:
    struct TTable {
        std::string Tag;
        size_t Size;
    };
    std::vector<TNameRecordLayout> FRecords;
    std::vector<TTable> FTables;
    bool FNameTable = true;
    std::optional<uint16_t> FNumTables;
    std::optional<uint32_t> FNameOffset;
    std::optional<uint16_t> FNameCount;
    std::optional<uint16_t> FStringOffset;
    std::optional<size_t> FTruncate;
};

// `text` (UTF-8) as big-endian UTF-16 bytes.
std::string Utf16BE(const std::string& text);
// `text` (UTF-8) in the Korean code page CP949; throws when it cannot be converted.
std::string ToCp949(const std::string& text);
// Writes raw bytes to a file and returns `path`; throws when it cannot.
std::string WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace fonzeta::test
