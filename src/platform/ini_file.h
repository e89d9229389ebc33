#pragma once

#include <string>
#include <vector>

#include "platform/ini_document.h"

// `s` without the blanks and tabs at its ends, as INI names and values are read.
std::string TrimBlanks(const std::string& s);

// An INI file with the semantics of the classic profile functions (see TIniDocument for
// how names match and what is kept): a new key goes to the end of its section, a new
// section to the end of the file, and a missing file is created on the first write.
//
// Each call reads the file afresh and each change is written at once (atomically), so the
// file may also be read and edited as plain lines between calls. With SetAutoFlush(false)
// the file is read once and changes collect in memory until UpdateFile().
class TIniFile {
public:
    explicit TIniFile(std::string path);

    const std::string& FileName() const { return FPath; }
    // Why the last failed call failed, naming the path.
    const std::string& LastError() const { return FError; }

    // Section names in file order.
    std::vector<std::string> ReadSections();
    // Key names of a section in file order; empty when the section is missing.
    std::vector<std::string> ReadSection(const std::string& section);
    bool SectionExists(const std::string& section);
    bool ValueExists(const std::string& section, const std::string& key);
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def);
    int ReadInteger(const std::string& section, const std::string& key, int def);

    // False when the file cannot be written or the key cannot be stored as itself.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteInteger(const std::string& section, const std::string& key, int value);
    bool DeleteKey(const std::string& section, const std::string& key);
    bool EraseSection(const std::string& section);

    // The file's headers and keys line by line (see TIniDocument::Entries); false when the
    // file exists but cannot be read. A missing file has none.
    bool ReadEntries(std::vector<TIniDocument::TEntry>& entries);
    // Positional edits of TIniDocument; false when the file cannot be read or written or
    // the line is not what the edit needs.
    bool RenameSectionAt(size_t line, const std::string& name);
    bool EraseSectionAt(size_t line);
    bool DeleteKeyAt(size_t line);
    bool AppendSection(const std::string& name);

    void SetAutoFlush(bool on) { FAutoFlush = on; }
    // Writes collected changes; true when there was nothing to write.
    bool UpdateFile();

private:
    bool Load();
    bool Changed();

    std::string FPath;
    std::string FError;
    TIniDocument FDocument;
    bool FLoaded = false;
    bool FDirty = false;
    bool FAutoFlush = true;
};
