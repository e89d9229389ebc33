#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// The lines of an INI file held in memory, with the rules of the classic profile functions
// and nothing lost: every byte of every line the caller does not change (comments, damaged
// lines, line endings, a leading UTF-8 byte-order mark, a final line without a line break)
// is written back exactly as it was read.
//
// Names. A section header is a line whose first non-blank character is "[", closed by the
// last "]" on it; in a section, a line that is not blank and does not begin with ";" is a
// key, the text before its first "=" (the whole line without one). Section and key names
// are compared after the same cleaning they get when written: line breaks become spaces,
// blanks and tabs at either end go. Then they match ignoring letter case (beyond ASCII too)
// when both are valid UTF-8, and byte for byte, ASCII letters ignoring case, otherwise.
// The first of several sections or keys of one name is the one found.
//
// Lookups go through hash indexes, so many writes into a large file cost no more than a
// few reads each.
class TIniDocument {
public:
    void Parse(const std::string& bytes);
    std::string Serialize() const;

    std::vector<std::string> Sections() const;
    bool SectionExists(const std::string& section) const;
    // Key names of the section in file order; empty when the section is missing.
    std::vector<std::string> Keys(const std::string& section) const;
    // The value of a key (blanks at either end removed); false when there is no such key.
    bool Read(const std::string& section, const std::string& key, std::string& value) const;

    // Replaces the key's value in place, or adds the key after the last non-blank line of
    // its section, or adds the section with the key at the end. Line breaks in the value
    // become spaces. A key that could not be read back as itself (beginning with ";" or
    // "[", holding "=") is refused: false with `error` saying why.
    bool Write(const std::string& section, const std::string& key, const std::string& value,
               std::string& error);
    // True when a line was removed.
    bool DeleteKey(const std::string& section, const std::string& key);
    // Removes the section's header and lines; true when there was such a section.
    bool EraseSection(const std::string& section);

    // The cleaned form a section or key name is written in.
    static std::string CleanName(const std::string& name);
    // True when two section or key names match by the rules above.
    static bool SameName(const std::string& a, const std::string& b);
    // Why `key` cannot be stored as itself (see Write); empty when it can.
    static std::string KeyProblem(const std::string& key);

    // One header or key line as the rules above read it, for views that list the file line
    // by line and edit the very line the user picked, also among sections of one name.
    struct TEntry {
        bool IsSection = false;
        std::string Name;
        size_t Line = 0;   // 0-based line number in the file, a byte-order mark not counted
        std::string Text;  // the whole line as it is in the file, without its line break
    };
    // Every section header and the keys of each section, in file order; the lines before
    // the first header belong to no section and are left out.
    std::vector<TEntry> Entries() const;
    // Positional edits; each is false, changing nothing, when `line` is not a header (or,
    // for DeleteKeyAt, not a key of a section).
    bool RenameSectionAt(size_t line, const std::string& name);
    bool EraseSectionAt(size_t line);
    bool DeleteKeyAt(size_t line);
    // Appends the header of an empty section at the end, even when the name is in use.
    void AppendSection(const std::string& name);

private:
    struct TLine {
        std::string Text;
        std::string Ending;  // "\r\n", "\n", or for the file's last line "\r" or nothing
    };
    struct TSection {
        bool HasHeader = false;  // false only for the lines before the first header
        TLine Header;
        std::string Name;
        std::vector<TLine> Lines;
        // Folded key name -> index in Lines of the first key of that name.
        mutable std::unordered_map<std::string, size_t> KeyIndex;
        mutable bool Indexed = false;
    };

    const TSection* FindSection(const std::string& section) const;
    TSection* FindSection(const std::string& section);
    // Index in Lines of the key, or -1.
    long FindKey(const TSection& section, const std::string& key) const;
    // Gives the last line of the document a line break, so a line can follow it.
    void EndLastLine();
    // Section and index in its Lines of file line `line`; index -1 for the header itself.
    bool Locate(size_t line, size_t& section, long& index) const;

    std::string FBom;
    std::vector<TSection> FSections;
    mutable std::unordered_map<std::string, size_t> FSectionIndex;
    mutable bool FSectionsIndexed = false;
};
