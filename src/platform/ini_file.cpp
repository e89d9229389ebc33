#include "platform/ini_file.h"

#include <QString>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/text_file.h"

std::string TrimBlanks(const std::string& s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

namespace {

bool IsAscii(const std::string& s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            const auto x = static_cast<unsigned char>(a[i]);
            const auto y = static_cast<unsigned char>(b[i]);
            if (std::tolower(x) != std::tolower(y))
                return false;
        }
        return true;
    }
    return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())),
                        Qt::CaseInsensitive) == 0;
}

// The name of a section header line "[name]" (the last "]" closes it).
bool SectionName(const std::string& line, std::string& name)
{
    const std::string t = TrimBlanks(line);
    if (t.empty() || t[0] != '[')
        return false;
    const size_t close = t.rfind(']');
    if (close == std::string::npos || close == 0)
        return false;
    name = TrimBlanks(t.substr(1, close - 1));
    return true;
}

// The key of a line inside a section; false for blank and comment lines.
bool KeyName(const std::string& line, std::string& key)
{
    const std::string t = TrimBlanks(line);
    if (t.empty() || t[0] == ';')
        return false;
    const size_t eq = t.find('=');
    key = eq == std::string::npos ? t : TrimBlanks(t.substr(0, eq));
    return true;
}

// Names and values are single lines: a line break in one would add lines to the file.
std::string OneLine(std::string s)
{
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

}  // namespace

TIniFile::TIniFile(std::string path) : FPath(std::move(path)) {}

bool TIniFile::Load()
{
    if (FLoaded && !FAutoFlush)
        return true;
    std::error_code ec;
    if (!std::filesystem::exists(FPath, ec)) {
        FLines.clear();
        FLoaded = true;
        return true;
    }
    std::vector<std::string> lines;
    if (!LoadTextLines(FPath, lines, FError))
        return false;
    FLines = std::move(lines);
    FLoaded = true;
    return true;
}

bool TIniFile::Changed()
{
    FDirty = true;
    if (!FAutoFlush)
        return true;
    if (UpdateFile())
        return true;
    // The file on disk is what counts: forget the change that could not be written.
    FDirty = false;
    FLoaded = false;
    return false;
}

bool TIniFile::UpdateFile()
{
    if (!FDirty)
        return true;
    if (!SaveTextLines(FPath, FLines, FError))
        return false;
    FDirty = false;
    return true;
}

bool TIniFile::FindSection(const std::string& section, TSpan& span) const
{
    std::string name;
    for (size_t i = 0; i < FLines.size(); ++i) {
        if (!SectionName(FLines[i], name) || !SameName(name, section))
            continue;
        span.Header = i;
        span.End = i + 1;
        while (span.End < FLines.size() && !SectionName(FLines[span.End], name))
            ++span.End;
        return true;
    }
    return false;
}

bool TIniFile::FindKey(const TSpan& span, const std::string& key, size_t& line) const
{
    std::string name;
    for (size_t i = span.Header + 1; i < span.End; ++i) {
        if (KeyName(FLines[i], name) && SameName(name, key)) {
            line = i;
            return true;
        }
    }
    return false;
}

std::vector<std::string> TIniFile::ReadSections()
{
    std::vector<std::string> result;
    if (!Load())
        return result;
    std::string name;
    for (const auto& line : FLines)
        if (SectionName(line, name))
            result.push_back(name);
    return result;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section)
{
    std::vector<std::string> result;
    TSpan span;
    if (!Load() || !FindSection(section, span))
        return result;
    std::string key;
    for (size_t i = span.Header + 1; i < span.End; ++i)
        if (KeyName(FLines[i], key))
            result.push_back(key);
    return result;
}

bool TIniFile::SectionExists(const std::string& section)
{
    TSpan span;
    return Load() && FindSection(section, span);
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key)
{
    TSpan span;
    size_t line;
    return Load() && FindSection(section, span) && FindKey(span, key, line);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def)
{
    TSpan span;
    size_t line;
    if (!Load() || !FindSection(section, span) || !FindKey(span, key, line))
        return def;
    const std::string& text = FLines[line];
    const size_t eq = text.find('=');
    return eq == std::string::npos ? std::string() : TrimBlanks(text.substr(eq + 1));
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def)
{
    const std::string text = ReadString(section, key, std::string());
    if (text.empty())
        return def;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return def;
    return static_cast<int>(value);
}

bool TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value)
{
    if (!Load())
        return false;
    const std::string cleanKey = OneLine(key);
    const std::string cleanValue = OneLine(value);
    TSpan span;
    if (!FindSection(section, span)) {
        FLines.push_back("[" + OneLine(section) + "]");
        FLines.push_back(cleanKey + "=" + cleanValue);
        return Changed();
    }
    size_t line;
    if (FindKey(span, cleanKey, line)) {
        std::string existing;
        KeyName(FLines[line], existing);
        FLines[line] = existing + "=" + cleanValue;
        return Changed();
    }
    size_t last = span.Header;
    for (size_t i = span.Header + 1; i < span.End; ++i)
        if (!TrimBlanks(FLines[i]).empty())
            last = i;
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(last + 1), cleanKey + "=" + cleanValue);
    return Changed();
}

bool TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    TSpan span;
    size_t line;
    if (!Load())
        return false;
    if (!FindSection(section, span) || !FindKey(span, key, line))
        return true;
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(line));
    return Changed();
}

bool TIniFile::EraseSection(const std::string& section)
{
    TSpan span;
    if (!Load())
        return false;
    if (!FindSection(section, span))
        return true;
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(span.Header),
                 FLines.begin() + static_cast<std::ptrdiff_t>(span.End));
    return Changed();
}
