#include "support/ttf_builder.h"

#include <QString>

#include <cerrno>
#include <fstream>
#include <iconv.h>
#include <stdexcept>

namespace fonzeta::test {
namespace {

void Put16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, static_cast<uint16_t>(value >> 16));
    Put16(out, static_cast<uint16_t>(value));
}

void Patch32(std::vector<uint8_t>& out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

}  // namespace

std::string Utf16BE(const std::string& text)
{
    std::string bytes;
    for (const char16_t unit : QString::fromStdString(text).toStdU16String()) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

std::string ToCp949(const std::string& text)
{
    iconv_t cd = iconv_open("CP949", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no CP949 converter");
    std::string out(text.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1))
        throw std::runtime_error("text has no CP949 form: " + text);
    out.resize(out.size() - outLeft);
    return out;
}

std::string WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
    return path;
}

TTtfBuilder& TTtfBuilder::Name(uint16_t nameID, const std::string& text, uint16_t languageID)
{
    TNameRecordLayout record;
    record.NameID = nameID;
    record.LanguageID = languageID;
    record.Bytes = Utf16BE(text);
    return Record(record);
}

TTtfBuilder& TTtfBuilder::WansungName(uint16_t nameID, const std::string& text,
                                      bool zeroHighBytes, uint16_t languageID)
{
    const std::string cp949 = ToCp949(text);
    std::string bytes;
    for (size_t i = 0; i < cp949.size(); ++i) {
        const auto byte = static_cast<unsigned char>(cp949[i]);
        if (zeroHighBytes || byte < 0x80 || i + 1 == cp949.size()) {
            bytes += '\0';
            bytes += static_cast<char>(byte);
        } else {
            bytes += static_cast<char>(byte);
            bytes += cp949[++i];
        }
    }
    TNameRecordLayout record;
    record.EncodingID = 5;
    record.LanguageID = languageID;
    record.NameID = nameID;
    record.Bytes = bytes;
    return Record(record);
}

TTtfBuilder& TTtfBuilder::Record(const TNameRecordLayout& record)
{
    FRecords.push_back(record);
    return *this;
}

TTtfBuilder& TTtfBuilder::Table(const std::string& tag, size_t size)
{
    FTables.push_back({tag, size});
    return *this;
}

TTtfBuilder& TTtfBuilder::WithoutNameTable()
{
    FNameTable = false;
    return *this;
}

TTtfBuilder& TTtfBuilder::NumTables(uint16_t value)
{
    FNumTables = value;
    return *this;
}

TTtfBuilder& TTtfBuilder::NameTableOffset(uint32_t value)
{
    FNameOffset = value;
    return *this;
}

TTtfBuilder& TTtfBuilder::NameCount(uint16_t value)
{
    FNameCount = value;
    return *this;
}

TTtfBuilder& TTtfBuilder::StringOffset(uint16_t value)
{
    FStringOffset = value;
    return *this;
}

TTtfBuilder& TTtfBuilder::TruncateTo(size_t size)
{
    FTruncate = size;
    return *this;
}

std::vector<uint8_t> TTtfBuilder::Build() const
{
    const size_t tableCount = FTables.size() + (FNameTable ? 1 : 0);
    std::vector<uint8_t> out;
    Put32(out, 0x00010000);
    Put16(out, FNumTables.value_or(static_cast<uint16_t>(tableCount)));
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);

    // Table records now, their offsets patched when the data is placed.
    std::vector<size_t> offsetFields;
    auto putRecord = [&](const std::string& tag) {
        for (size_t i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(i < tag.size() ? tag[i] : ' '));
        Put32(out, 0);
        offsetFields.push_back(out.size());
        Put32(out, 0);
        Put32(out, 0);
    };
    for (const TTable& table : FTables)
        putRecord(table.Tag);
    if (FNameTable)
        putRecord("name");

    for (size_t i = 0; i < FTables.size(); ++i) {
        Patch32(out, offsetFields[i], static_cast<uint32_t>(out.size()));
        Patch32(out, offsetFields[i] + 4, static_cast<uint32_t>(FTables[i].Size));
        out.insert(out.end(), FTables[i].Size, 0x5A);
    }

    if (FNameTable) {
        const size_t nameStart = out.size();
        const uint16_t count = static_cast<uint16_t>(FRecords.size());
        const uint16_t storage = static_cast<uint16_t>(6 + 12 * count);
        Put16(out, 0);
        Put16(out, FNameCount.value_or(count));
        Put16(out, FStringOffset.value_or(storage));
        uint16_t offset = 0;
        for (const TNameRecordLayout& record : FRecords) {
            Put16(out, record.PlatformID);
            Put16(out, record.EncodingID);
            Put16(out, record.LanguageID);
            Put16(out, record.NameID);
            Put16(out, record.Length.value_or(static_cast<uint16_t>(record.Bytes.size())));
            Put16(out, record.Offset.value_or(offset));
            offset = static_cast<uint16_t>(offset + record.Bytes.size());
        }
        for (const TNameRecordLayout& record : FRecords)
            out.insert(out.end(), record.Bytes.begin(), record.Bytes.end());
        const size_t field = offsetFields.back();
        Patch32(out, field, FNameOffset.value_or(static_cast<uint32_t>(nameStart)));
        Patch32(out, field + 4, static_cast<uint32_t>(out.size() - nameStart));
    }
    if (FTruncate && *FTruncate < out.size())
        out.resize(*FTruncate);
    return out;
}

std::string TTtfBuilder::Write(const std::string& path) const
{
    const std::vector<uint8_t> bytes = Build();
    return WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace fonzeta::test
