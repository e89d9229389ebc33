#include "fonts/naming_table.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fonts/font_info.h"
#include "platform/dialogs.h"
#include "platform/locale_info.h"
#include "platform/platform.h"

namespace {

constexpr uint16_t kUSEnglish = 0x0409;
constexpr uint16_t kKorean = 0x0412;
constexpr uint16_t kMicrosoftPlatform = 3;
constexpr uint16_t kWansungEncoding = 5;
constexpr int kNameIDCount = 8;

constexpr size_t kOffsetTableSize = 12;
constexpr size_t kTableRecordSize = 16;
constexpr size_t kMaxTables = 50;
constexpr size_t kNameHeaderSize = 6;
// "ttcf", version, number of faces; then one 32-bit offset per face.
constexpr size_t kCollectionHeaderSize = 12;
// More faces than any real collection holds: a damaged count must not make a scan read the
// same file millions of times.
constexpr uint32_t kMaxFaces = 4096;
constexpr size_t kNameRecordSize = 12;
// A name is held in a buffer of 1024 bytes with room for a terminating UTF-16 zero.
constexpr size_t kMaxNameLength = 1022;
// Most naming tables fit; the rest of a larger one is read record by record.
constexpr size_t kWindowSize = 64 * 1024;
// The first read of the naming table: its header and first 84 records. Reading a whole
// table of some kilobytes instead costs more than one more small read of the texts.
constexpr size_t kFirstRecordsRead = 1014;

const char* const kOpenFailed = "Open font file failed!";
const char* const kReadFailed = "Read failed!";
const char* const kInvalidFont = "Invalid TrueType Font!";
const char* const kInvalidTable = "Invalid Font(1)!";
const char* const kInvalidRecord = "Invalid Font(2)!";
const char* const kInvalidStringOffset = "Invalid StorageOffset or StrOffset retrived!";
const char* const kInvalidStringLength = "Invalid StrLen!";

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

uint32_t Get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// Reads up to `length` bytes at `offset`; fewer only at the end of the file. -1 on error.
ssize_t ReadAt(int fd, uint8_t* buffer, size_t length, uint64_t offset)
{
    size_t done = 0;
    while (done < length) {
        const ssize_t got = pread(fd, buffer + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

class TFileHandle {
public:
    explicit TFileHandle(const std::string& path)
        // Non-blocking, so that a named pipe that happens to be called *.ttf cannot hang
        // the reader; it is refused below as not a regular file.
        : FFd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY))
    {
    }
    ~TFileHandle()
    {
        if (FFd >= 0)
            close(FFd);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Fd() const { return FFd; }

private:
    int FFd;
};

// Ranges of one file, served from two windows (the name records, and the texts that may
// be taken) where they fall inside them, else read one by one.
class TRangeReader {
public:
    enum TWindow { wRecords, wTexts };

    TRangeReader(int fd, uint64_t fileSize) : FFd(fd), FFileSize(fileSize) {}

    bool Contains(uint64_t offset, uint64_t length) const
    {
        return offset <= FFileSize && length <= FFileSize - offset;
    }

    // Reads what the file holds of [offset, offset + length) into a window.
    bool Preload(TWindow window, uint64_t offset, uint64_t length)
    {
        TSpan& span = FSpans[window];
        span = TSpan{};
        if (offset >= FFileSize)
            return true;
        const uint64_t wanted = std::min<uint64_t>({length, FFileSize - offset, kWindowSize});
        const ssize_t got = ReadAt(FFd, Buffer(window), static_cast<size_t>(wanted), offset);
        if (got < 0)
            return false;
        span = TSpan{offset, static_cast<size_t>(got)};
        return true;
    }

    // True when a window holds all of [offset, offset + length).
    bool Holds(uint64_t offset, uint64_t length) const
    {
        for (const TSpan& span : FSpans) {
            if (offset >= span.Start && offset - span.Start <= span.Length &&
                length <= span.Length - (offset - span.Start))
                return true;
        }
        return false;
    }

    // Copies exactly `length` bytes at `offset`; the caller checked the range with Contains.
    bool Read(uint64_t offset, size_t length, uint8_t* out)
    {
        for (const TWindow window : {wRecords, wTexts}) {
            const TSpan& span = FSpans[window];
            if (offset >= span.Start && offset - span.Start <= span.Length &&
                length <= span.Length - (offset - span.Start)) {
                std::memcpy(out, Buffer(window) + (offset - span.Start), length);
                return true;
            }
        }
        return ReadAt(FFd, out, length, offset) == static_cast<ssize_t>(length);
    }

private:
    struct TSpan {
        uint64_t Start = 0;
        size_t Length = 0;
    };

    static uint8_t* Buffer(TWindow window)
    {
        thread_local std::array<std::array<uint8_t, kWindowSize>, 2> buffers;
        return buffers[window].data();
    }

    int FFd;
    uint64_t FFileSize;
    TSpan FSpans[2];
};

// Writes `code` as UTF-8 at `out`; returns the end of what was written (at most 4 bytes).
char* PutUtf8(char* out, uint32_t code)
{
    if (code < 0x80) {
        *out++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *out++ = static_cast<char>(0xC0 | code >> 6);
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = static_cast<char>(0xE0 | code >> 12);
        *out++ = static_cast<char>(0x80 | (code >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | code >> 18);
        *out++ = static_cast<char>(0x80 | (code >> 12 & 0x3F));
        *out++ = static_cast<char>(0x80 | (code >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

void AppendUtf8(std::string& out, uint32_t code)
{
    char bytes[4];
    out.append(bytes, PutUtf8(bytes, code));
}

constexpr uint32_t kReplacement = 0xFFFD;

// Big-endian UTF-16 up to its first zero unit. An odd last byte is the high half of a unit
// whose low half is zero. Unpaired surrogates become U+FFFD.
std::string Utf16BEToUtf8(const uint8_t* bytes, size_t length)
{
    // Every unit gives at most three bytes (a surrogate pair four for two units); the text
    // is built on the stack so the string is allocated once, at its final size.
    length = std::min(length, kMaxNameLength);
    char buffer[(kMaxNameLength + 1) / 2 * 3];
    char* out = buffer;
    auto unitAt = [&](size_t i) -> uint32_t {
        return static_cast<uint32_t>(bytes[i]) << 8 | (i + 1 < length ? bytes[i + 1] : 0u);
    };
    for (size_t i = 0; i < length; i += 2) {
        const uint32_t unit = unitAt(i);
        if (unit == 0)
            break;
        if (unit < 0x80) {
            *out++ = static_cast<char>(unit);
            continue;
        }
        if (unit >= 0xD800 && unit < 0xDC00 && i + 2 < length) {
            const uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                out = PutUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        out = PutUtf8(out, unit >= 0xD800 && unit < 0xE000 ? kReplacement : unit);
    }
    return std::string(buffer, out);
}

// One converter per thread, opened on first use: opening one costs far more than a name.
class TCp949Converter {
public:
    TCp949Converter() : FHandle(iconv_open("UTF-8", "CP949")) {}
    ~TCp949Converter()
    {
        if (Valid())
            iconv_close(FHandle);
    }
    TCp949Converter(const TCp949Converter&) = delete;
    TCp949Converter& operator=(const TCp949Converter&) = delete;

    bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }

    // Bytes the code page cannot decode become U+FFFD, one per byte.
    std::string Convert(const std::string& text)
    {
        std::string out;
        // Two CP949 bytes make at most three UTF-8 bytes, one bad byte three.
        std::string buffer(text.size() * 3 + 4, '\0');
        char* in = const_cast<char*>(text.data());
        size_t inLeft = text.size();
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char* outPtr = buffer.data();
            size_t outLeft = buffer.size();
            const size_t result = iconv(FHandle, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer.data(), buffer.size() - outLeft);
            if (result != static_cast<size_t>(-1))
                break;
            const int error = errno;
            if (error == E2BIG)
                continue;
            AppendUtf8(out, kReplacement);
            iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
            if (error != EILSEQ)
                break;  // a lead byte without its trail byte ends the text
            ++in;
            --inLeft;
        }
        return out;
    }

private:
    iconv_t FHandle;
};

std::string Cp949ToUtf8(const std::string& text)
{
    bool ascii = true;
    for (const char c : text)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return text;
    thread_local TCp949Converter converter;
    if (converter.Valid())
        return converter.Convert(text);
    std::string out;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            AppendUtf8(out, kReplacement);
    }
    return out;
}

TNameReadResult Fail(const char* message) { return {TNameReadStatus::Failed, message}; }
TNameReadResult Stop(const char* message) { return {TNameReadStatus::Stopped, message}; }

}  // namespace

bool HasZeroHighByteCode(const uint8_t* bytes, size_t length)
{
    size_t i = 0;
    while (i < length) {
        if (bytes[i] == 0 && i + 1 < length) {
            ++i;
            if (bytes[i] >= 0x80)
                return true;
        }
        i += 2;
    }
    return false;
}

std::string DecodeNameString(const uint8_t* bytes, uint16_t encodingID, size_t length)
{
    if (encodingID != kWansungEncoding)
        return Utf16BEToUtf8(bytes, length);
    std::string kept;
    if (HasZeroHighByteCode(bytes, length)) {
        if (bytes[0] != 0)
            return std::string();
        for (size_t i = 1; i < length && bytes[i] != 0; i += 2)
            kept += static_cast<char>(bytes[i]);
    } else {
        for (size_t i = 0; i < length; ++i) {
            if (bytes[i] != 0)
                kept += static_cast<char>(bytes[i]);
        }
    }
    return Cp949ToUtf8(kept);
}

namespace {

// The reading of a regular file open at `fd`, of `fileSize` bytes. The face count goes to
// `faceCount` as soon as it is known, so that a failure in one face of a collection still
// tells how many faces follow.
TNameReadResult ReadOpenFile(TFontInfo& font, int fd, uint64_t fileSize, uint16_t userLangID,
                             int& faceCount)
{
    // The offset table and the largest table directory accepted, in one read; whatever
    // the file does not hold stays zero.
    std::array<uint8_t, kOffsetTableSize + kMaxTables * kTableRecordSize> head{};
    if (ReadAt(fd, head.data(), head.size(), 0) < 0)
        return Fail(kReadFailed);
    const TNameReadResult done{TNameReadStatus::Done, std::string()};
    if (std::memcmp(head.data(), "ttcf", 4) == 0) {
        // A collection: its header lists where the offset table of each face begins.
        const uint32_t numFonts = Get32(&head[8]);
        if (numFonts < 1 || numFonts > kMaxFaces ||
            kCollectionHeaderSize + uint64_t{numFonts} * 4 > fileSize)
            return Fail(kInvalidFont);
        faceCount = static_cast<int>(numFonts);
        if (font.FaceIndex < 0 || static_cast<uint32_t>(font.FaceIndex) >= numFonts)
            return Fail(kInvalidFont);
        std::array<uint8_t, 4> entry{};
        if (ReadAt(fd, entry.data(), entry.size(),
                   kCollectionHeaderSize + uint64_t(font.FaceIndex) * 4) != 4)
            return Fail(kReadFailed);
        const uint32_t faceOffset = Get32(entry.data());
        if (uint64_t{faceOffset} + kOffsetTableSize > fileSize)
            return Fail(kInvalidFont);
        head.fill(0);
        if (ReadAt(fd, head.data(), head.size(), faceOffset) < 0)
            return Fail(kReadFailed);
    } else if (font.FaceIndex != 0) {
        return Fail(kInvalidFont);
    }
    const uint16_t numTables = Get16(&head[4]);
    if (numTables < 1 || numTables > kMaxTables)
        return Fail(kInvalidFont);

    uint32_t tableOffset = 0;
    for (size_t i = 0; i < numTables; ++i) {
        const uint8_t* record = &head[kOffsetTableSize + i * kTableRecordSize];
        if (std::memcmp(record, "name", 4) == 0) {
            tableOffset = Get32(record + 8);
            break;
        }
    }
    if (tableOffset == 0 || static_cast<int32_t>(tableOffset) < 0)
        return done;

    TRangeReader reader(fd, fileSize);
    if (!reader.Contains(tableOffset, kNameHeaderSize))
        return Fail(kInvalidTable);
    if (!reader.Preload(TRangeReader::wRecords, tableOffset, kFirstRecordsRead))
        return Fail(kReadFailed);
    std::array<uint8_t, kNameHeaderSize> header{};
    if (!reader.Read(tableOffset, header.size(), header.data()))
        return Fail(kReadFailed);
    const uint16_t count = Get16(&header[2]);
    const uint16_t stringOffset = Get16(&header[4]);
    const uint64_t recordsEnd = kNameHeaderSize + uint64_t{count} * kNameRecordSize;
    if (recordsEnd > kFirstRecordsRead &&
        !reader.Preload(TRangeReader::wRecords, tableOffset, recordsEnd))
        return Fail(kReadFailed);

    struct TRecord {
        uint16_t PlatformID;
        uint16_t EncodingID;
        uint16_t LanguageID;
        int16_t NameID;
        uint16_t Length;
        uint64_t TextPosition;
    };
    // False with `failure` set when the record cannot be read.
    auto readRecord = [&](uint32_t index, TRecord& out, const char*& failure) {
        const uint64_t position = uint64_t{tableOffset} + kNameHeaderSize + uint64_t{index} * kNameRecordSize;
        if (!reader.Contains(position, kNameRecordSize)) {
            failure = kInvalidRecord;
            return false;
        }
        std::array<uint8_t, kNameRecordSize> record{};
        if (!reader.Read(position, record.size(), record.data())) {
            failure = kReadFailed;
            return false;
        }
        out = TRecord{Get16(&record[0]), Get16(&record[2]), Get16(&record[4]),
                      static_cast<int16_t>(Get16(&record[6])), Get16(&record[8]),
                      uint64_t{tableOffset} + stringOffset + Get16(&record[10])};
        return true;
    };
    auto isCandidate = [&](const TRecord& record) {
        return record.PlatformID == kMicrosoftPlatform && record.NameID >= 0 &&
               record.NameID < kNameIDCount && record.Length >= 1;
    };
    auto inLanguage = [&](const TRecord& record) {
        return record.LanguageID == userLangID || record.LanguageID == kUSEnglish;
    };

    // The texts that may be taken usually lie close together: one read for all of them.
    {
        uint64_t first = UINT64_MAX;
        uint64_t last = 0;
        TRecord record{};
        const char* failure = nullptr;
        for (uint32_t i = 0; i < count && readRecord(i, record, failure); ++i) {
            if (isCandidate(record) && inLanguage(record) &&
                reader.Contains(record.TextPosition, record.Length)) {
                first = std::min(first, record.TextPosition);
                last = std::max(last, record.TextPosition + std::min<uint64_t>(record.Length, kMaxNameLength));
            }
        }
        if (first < last && !reader.Holds(first, last - first) &&
            !reader.Preload(TRangeReader::wTexts, first, last - first))
            return Fail(kReadFailed);
    }

    bool taken[kNameIDCount] = {};
    int takenCount = 0;
    std::array<uint8_t, kMaxNameLength> text;
    for (uint32_t i = 0; i < count && takenCount < kNameIDCount; ++i) {
        TRecord record{};
        const char* failure = nullptr;
        if (!readRecord(i, record, failure))
            return Fail(failure);
        if (!isCandidate(record))
            continue;
        if (record.TextPosition > fileSize)
            return Stop(kInvalidStringOffset);
        if (!reader.Contains(record.TextPosition, record.Length))
            return Stop(kInvalidStringLength);

        if (!inLanguage(record))
            continue;
        if (taken[record.NameID])
            continue;
        if (font.PreferredLangID != 0 && record.LanguageID != font.PreferredLangID)
            continue;
        if (font.PreferredLangID == 0 && record.EncodingID == kWansungEncoding &&
            record.LanguageID != kKorean)
            continue;

        font.LangID = record.LanguageID;
        taken[record.NameID] = true;
        ++takenCount;
        const size_t kept = std::min<size_t>(record.Length, kMaxNameLength);
        if (!reader.Read(record.TextPosition, kept, text.data()))
            return Fail(kReadFailed);
        *font.NameText(record.NameID) = DecodeNameString(text.data(), record.EncodingID, kept);
    }
    return done;
}

// ReadNamingTable without the face count (see ReadOpenFile).
TNameReadResult ReadNames(TFontInfo& font, const std::string& path, uint16_t userLangID,
                          int& faceCount)
{
    TFileHandle file(path);
    struct stat st {};
    if (file.Fd() < 0) {
        // Something that exists but cannot be opened is a failure; nothing there is not.
        if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
            return {TNameReadStatus::Missing, std::string()};
        font.FileName = path;
        font.FileSize = 0;
        return Fail(kOpenFailed);
    }
    const bool statOk = fstat(file.Fd(), &st) == 0;
    if (statOk && S_ISDIR(st.st_mode))
        return {TNameReadStatus::Missing, std::string()};
    font.FileName = path;
    if (!statOk || !S_ISREG(st.st_mode)) {
        font.FileSize = 0;
        return Fail(kOpenFailed);
    }
    font.FileSize = st.st_size;
    return ReadOpenFile(font, file.Fd(), static_cast<uint64_t>(st.st_size), userLangID, faceCount);
}

}  // namespace

int CountFaces(const std::string& path)
{
    TFileHandle file(path);
    return file.Fd() < 0 ? 1 : CountFacesOfOpenFile(file.Fd());
}

int CountFacesOfOpenFile(int fd)
{
    struct stat st {};
    std::array<uint8_t, kCollectionHeaderSize> header{};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        ReadAt(fd, header.data(), header.size(), 0) != static_cast<ssize_t>(header.size()) ||
        std::memcmp(header.data(), "ttcf", 4) != 0)
        return 1;
    const uint32_t numFonts = Get32(&header[8]);
    if (numFonts < 1 || numFonts > kMaxFaces ||
        kCollectionHeaderSize + uint64_t{numFonts} * 4 > static_cast<uint64_t>(st.st_size))
        return 1;
    return static_cast<int>(numFonts);
}

TNameReadResult ReadNamingTable(TFontInfo& font, const std::string& path, uint16_t userLangID)
{
    int faceCount = 1;
    TNameReadResult result = ReadNames(font, path, userLangID, faceCount);
    result.FaceCount = faceCount;
    return result;
}

TNameReadResult ReadNamingTableOfOpenFile(TFontInfo& font, int fd, const std::string& path,
                                          uint16_t userLangID)
{
    struct stat st {};
    font.FileName = path;
    int faceCount = 1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        font.FileSize = 0;
        return Fail(kOpenFailed);
    }
    font.FileSize = st.st_size;
    TNameReadResult result =
        ReadOpenFile(font, fd, static_cast<uint64_t>(st.st_size), userLangID, faceCount);
    result.FaceCount = faceCount;
    return result;
}

void ReadFontNames(TFontInfo& font, const std::string& path, const TPlatform& platform)
{
    const uint16_t userLangID = platform.Locale ? platform.Locale->UserLangID() : kUSEnglish;
    const TNameReadResult result = ReadNamingTable(font, path, userLangID);
    if (!platform.Dialogs)
        return;
    if (result.Status == TNameReadStatus::Failed)
        platform.Dialogs->ShowMessage(font.FileName + "\n" + result.Message);
    else if (result.Status == TNameReadStatus::Stopped)
        platform.Dialogs->ShowMessage(result.Message);
}
