#include "fuzz_targets.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "fonts/font_info.h"
#include "fonts/naming_table.h"
#include "platform/ini_document.h"
#include "platform/ini_file.h"

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant failed: %s\n", what);
        std::abort();
    }
}

bool IsValidUtf8(const std::string& s)
{
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

// One in-memory file, rewritten for every input; its descriptor.
int MemoryFile(const uint8_t* data, size_t size)
{
    static const int fd = memfd_create("fuzz-font", 0);
    Check(fd >= 0, "memfd_create");
    Check(ftruncate(fd, 0) == 0, "ftruncate");
    size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        Check(n > 0, "pwrite");
        done += static_cast<size_t>(n);
    }
    return fd;
}

// Lines without their endings; a final line break starts no further line.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = next;
    }
    return lines;
}

std::string OneLine(std::string s)
{
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

}  // namespace

int FuzzNamingTable(const uint8_t* data, size_t size)
{
    const int fd = MemoryFile(data, size);
    const std::string path = "font.ttc";
    const int faces = CountFacesOfOpenFile(fd);
    Check(faces >= 1, "at least one face");
    // A collection is read face by face; two faces cover every path of the reader. The
    // user's language alternates with the input, so Korean and English users both come up.
    const uint16_t user = size % 2 ? 0x0412 : 0x0409;
    for (int face = 0; face < faces && face < 2; ++face) {
        TFontInfo font;
        font.FaceIndex = face;
        const TNameReadResult result = ReadNamingTableOfOpenFile(font, fd, path, user);
        Check(result.Status != TNameReadStatus::Missing, "the file exists");
        Check(result.FaceCount == faces, "face count agrees with CountFaces");
        Check(font.FileName == path, "file name kept");
        Check(font.FileSize == static_cast<int64_t>(size), "file size");
        for (int id = 0; id < 8; ++id)
            Check(IsValidUtf8(*font.NameText(id)), "names are UTF-8");
    }
    TFontInfo beyond;
    beyond.FaceIndex = faces;
    Check(ReadNamingTableOfOpenFile(beyond, fd, path, user).Status == TNameReadStatus::Failed,
          "a face past the count fails");
    for (const uint16_t encoding : {uint16_t{1}, uint16_t{5}})
        Check(IsValidUtf8(DecodeNameString(data, encoding, size)), "decoded text is UTF-8");
    return 0;
}

int FuzzIniStore(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string parts[3];
    size_t at = 0;
    for (std::string& part : parts) {
        const size_t zero = input.find('\0', at);
        if (zero == std::string::npos) {
            at = input.size();
            break;
        }
        part = input.substr(at, zero - at);
        at = zero + 1;
    }
    const std::string file = input.substr(std::min(at, input.size()));
    const std::string& section = parts[0];
    const std::string& key = parts[1];
    const std::string& value = parts[2];

    TIniDocument document;
    document.Parse(file);
    const std::string before = document.Serialize();
    Check(before == file, "a parsed file serialises back byte for byte");
    std::string old;
    const bool existed = document.Read(section, key, old);

    std::string error;
    const bool written = document.Write(section, key, value, error);
    const std::string after = document.Serialize();
    if (!written) {
        Check(!error.empty(), "a refused write says why");
        Check(after == before, "a refused write changes nothing");
        return 0;
    }
    std::string read;
    Check(document.Read(section, key, read), "a written key is found");
    Check(read == TrimBlanks(OneLine(value)), "a written value reads back");

    TIniDocument reparsed;
    reparsed.Parse(after);
    Check(reparsed.Serialize() == after, "the written file serialises back");
    Check(reparsed.Read(section, key, read) && read == TrimBlanks(OneLine(value)),
          "the written value reads back from the file");

    // A leading byte-order mark is kept, and is no part of the first line.
    const std::string bom = "\xEF\xBB\xBF";
    const bool hasBom = before.compare(0, bom.size(), bom) == 0;
    Check(!hasBom || after.compare(0, bom.size(), bom) == 0, "the byte-order mark is kept");
    const size_t skip = hasBom ? bom.size() : 0;

    // Every other line survives: a replaced key changes one line in place, a new key or
    // section inserts one or two lines in one place.
    const std::vector<std::string> a = Lines(before.substr(skip));
    const std::vector<std::string> b = Lines(after.substr(skip));
    if (existed) {
        Check(a.size() == b.size(), "a replacement keeps the line count");
        size_t changed = 0;
        for (size_t i = 0; i < a.size(); ++i)
            changed += a[i] != b[i];
        Check(changed <= 1, "a replacement changes one line");
    } else {
        Check(b.size() == a.size() + 1 || b.size() == a.size() + 2, "an addition adds one or two lines");
        const size_t added = b.size() - a.size();
        size_t first = 0;
        while (first < a.size() && a[first] == b[first])
            ++first;
        for (size_t i = first; i < a.size(); ++i)
            Check(a[i] == b[i + added], "lines after an addition are kept");
    }
    return 0;
}
