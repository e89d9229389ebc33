#include "platform/ini_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>

#include "platform/byte_path.h"
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

TIniFile::TIniFile(std::string path) : FPath(std::move(path)) {}

bool TIniFile::Load()
{
    if (FLoaded && !FAutoFlush)
        return true;
    struct stat st {};
    std::string bytes;
    if (stat(FPath.c_str(), &st) == 0 || errno != ENOENT) {
        if (!LoadTextFile(FPath, bytes, FError))
            return false;
    }
    FDocument.Parse(bytes);
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
    if (!SaveTextFile(FPath, FDocument.Serialize(), FError))
        return false;
    FDirty = false;
    return true;
}

std::vector<std::string> TIniFile::ReadSections()
{
    return Load() ? FDocument.Sections() : std::vector<std::string>();
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section)
{
    return Load() ? FDocument.Keys(section) : std::vector<std::string>();
}

bool TIniFile::SectionExists(const std::string& section)
{
    return Load() && FDocument.SectionExists(section);
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key)
{
    std::string value;
    return Load() && FDocument.Read(section, key, value);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def)
{
    std::string value;
    if (!Load() || !FDocument.Read(section, key, value))
        return def;
    return value;
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
    std::string reason;
    if (!FDocument.Write(section, key, value, reason)) {
        FError = "Cannot write the key \"" + DisplayPathUtf8(TIniDocument::CleanName(key)) +
                 "\" to " + DisplayPathUtf8(FPath) + ": " + reason;
        return false;
    }
    return Changed();
}

bool TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    if (!Load())
        return false;
    return !FDocument.DeleteKey(section, key) || Changed();
}

bool TIniFile::EraseSection(const std::string& section)
{
    if (!Load())
        return false;
    return !FDocument.EraseSection(section) || Changed();
}

bool TIniFile::ReadEntries(std::vector<TIniDocument::TEntry>& entries)
{
    entries.clear();
    if (!Load())
        return false;
    entries = FDocument.Entries();
    return true;
}

bool TIniFile::RenameSectionAt(size_t line, const std::string& name)
{
    return Load() && FDocument.RenameSectionAt(line, name) && Changed();
}

bool TIniFile::EraseSectionAt(size_t line)
{
    return Load() && FDocument.EraseSectionAt(line) && Changed();
}

bool TIniFile::DeleteKeyAt(size_t line)
{
    return Load() && FDocument.DeleteKeyAt(line) && Changed();
}

bool TIniFile::AppendSection(const std::string& name)
{
    if (!Load())
        return false;
    FDocument.AppendSection(name);
    return Changed();
}
