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

    std::string FBom;
    std::vector<TSection> FSections;
    mutable std::unordered_map<std::string, size_t> FSectionIndex;
    mutable bool FSectionsIndexed = false;
};
