#include "platform/ini_document.h"

#include <QString>

#include <utility>

#include "platform/ini_file.h"

namespace {

const char* const kNewLine = "\r\n";

bool IsAscii(const std::string& s)
{
    for (const unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

std::string AsciiLower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The form two names are compared in (see the class comment).
std::string Fold(const std::string& cleanName)
{
    if (IsAscii(cleanName))
        return AsciiLower(cleanName);
    const QString text = QString::fromUtf8(cleanName.data(), static_cast<qsizetype>(cleanName.size()));
    const QByteArray back = text.toUtf8();
    // Not valid UTF-8: the bytes themselves count.
    if (back.size() != static_cast<qsizetype>(cleanName.size()) ||
        cleanName.compare(0, cleanName.size(), back.constData(), static_cast<size_t>(back.size())) != 0)
        return AsciiLower(cleanName);
    return text.toCaseFolded().toStdString();
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

// Texts are single lines: a line break in one would add lines to the file.
std::string OneLine(std::string s)
{
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

bool HasLineBreak(const std::string& ending) { return !ending.empty() && ending.back() == '\n'; }

}  // namespace

std::string TIniDocument::CleanName(const std::string& name)
{
    return TrimBlanks(OneLine(name));
}

bool TIniDocument::SameName(const std::string& a, const std::string& b)
{
    return Fold(CleanName(a)) == Fold(CleanName(b));
}

std::string TIniDocument::KeyProblem(const std::string& key)
{
    const std::string cleanKey = CleanName(key);
    if (!cleanKey.empty() && (cleanKey[0] == ';' || cleanKey[0] == '['))
        return "a key may not begin with \"" + cleanKey.substr(0, 1) + "\"";
    if (cleanKey.find('=') != std::string::npos)
        return "a key may not contain \"=\"";
    return std::string();
}

void TIniDocument::Parse(const std::string& bytes)
{
    FBom.clear();
    FSections.clear();
    FSections.emplace_back();
    FSectionIndex.clear();
    FSectionsIndexed = false;

    size_t start = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        FBom = bytes.substr(0, 3);
        start = 3;
    }
    std::string name;
    while (start < bytes.size()) {
        TLine line;
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
            line.Text.assign(bytes, start, end - start);
            // A CR that ends the file belongs with it, as the start of a line break.
            if (!line.Text.empty() && line.Text.back() == '\r') {
                line.Text.pop_back();
                line.Ending = "\r";
            }
            start = end;
        } else {
            size_t length = end - start;
            const bool crlf = length > 0 && bytes[end - 1] == '\r';
            if (crlf)
                --length;
            line.Text.assign(bytes, start, length);
            line.Ending = crlf ? "\r\n" : "\n";
            start = end + 1;
        }
        if (SectionName(line.Text, name)) {
            TSection section;
            section.HasHeader = true;
            section.Header = std::move(line);
            section.Name = name;
            FSections.push_back(std::move(section));
        } else {
            FSections.back().Lines.push_back(std::move(line));
        }
    }
}

std::string TIniDocument::Serialize() const
{
    std::string out = FBom;
    for (const TSection& section : FSections) {
        if (section.HasHeader)
            out.append(section.Header.Text).append(section.Header.Ending);
        for (const TLine& line : section.Lines)
            out.append(line.Text).append(line.Ending);
    }
    return out;
}

const TIniDocument::TSection* TIniDocument::FindSection(const std::string& section) const
{
    if (!FSectionsIndexed) {
        FSectionIndex.clear();
        for (size_t i = 1; i < FSections.size(); ++i)
            FSectionIndex.emplace(Fold(CleanName(FSections[i].Name)), i);
        FSectionsIndexed = true;
    }
    const auto it = FSectionIndex.find(Fold(CleanName(section)));
    return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

TIniDocument::TSection* TIniDocument::FindSection(const std::string& section)
{
    return const_cast<TSection*>(std::as_const(*this).FindSection(section));
}

long TIniDocument::FindKey(const TSection& section, const std::string& key) const
{
    if (!section.Indexed) {
        section.KeyIndex.clear();
        std::string name;
        for (size_t i = 0; i < section.Lines.size(); ++i) {
            if (KeyName(section.Lines[i].Text, name))
                section.KeyIndex.emplace(Fold(CleanName(name)), i);
        }
        section.Indexed = true;
    }
    const auto it = section.KeyIndex.find(Fold(CleanName(key)));
    return it == section.KeyIndex.end() ? -1 : static_cast<long>(it->second);
}

std::vector<std::string> TIniDocument::Sections() const
{
    std::vector<std::string> names;
    for (size_t i = 1; i < FSections.size(); ++i)
        names.push_back(FSections[i].Name);
    return names;
}

bool TIniDocument::SectionExists(const std::string& section) const
{
    return FindSection(section) != nullptr;
}

std::vector<std::string> TIniDocument::Keys(const std::string& section) const
{
    std::vector<std::string> keys;
    const TSection* found = FindSection(section);
    if (!found)
        return keys;
    std::string name;
    for (const TLine& line : found->Lines)
        if (KeyName(line.Text, name))
            keys.push_back(name);
    return keys;
}

bool TIniDocument::Read(const std::string& section, const std::string& key, std::string& value) const
{
    const TSection* found = FindSection(section);
    const long line = found ? FindKey(*found, key) : -1;
    if (line < 0)
        return false;
    const std::string& text = found->Lines[static_cast<size_t>(line)].Text;
    const size_t eq = text.find('=');
    value = eq == std::string::npos ? std::string() : TrimBlanks(text.substr(eq + 1));
    return true;
}

void TIniDocument::EndLastLine()
{
    for (auto it = FSections.rbegin(); it != FSections.rend(); ++it) {
        TLine* last = !it->Lines.empty() ? &it->Lines.back() : it->HasHeader ? &it->Header : nullptr;
        if (!last)
            continue;
        if (!HasLineBreak(last->Ending))
            last->Ending = kNewLine;
        return;
    }
}

bool TIniDocument::Write(const std::string& section, const std::string& key,
                         const std::string& value, std::string& error)
{
    const std::string cleanKey = CleanName(key);
    error = KeyProblem(cleanKey);
    if (!error.empty())
        return false;
    const std::string text = cleanKey + "=" + OneLine(value);

    TSection* found = FindSection(section);
    if (!found) {
        EndLastLine();
        TSection added;
        added.HasHeader = true;
        added.Name = CleanName(section);
        added.Header = TLine{"[" + added.Name + "]", kNewLine};
        added.Lines.push_back(TLine{text, kNewLine});
        FSections.push_back(std::move(added));
        FSectionIndex.emplace(Fold(FSections.back().Name), FSections.size() - 1);
        return true;
    }
    const long line = FindKey(*found, cleanKey);
    if (line >= 0) {
        TLine& existing = found->Lines[static_cast<size_t>(line)];
        std::string spelling;
        KeyName(existing.Text, spelling);
        existing.Text = spelling + "=" + OneLine(value);
        return true;
    }
    // After the last non-blank line, so blank lines that part it from the next section stay.
    size_t at = found->Lines.size();
    while (at > 0 && TrimBlanks(found->Lines[at - 1].Text).empty())
        --at;
    TLine& before = at > 0 ? found->Lines[at - 1] : found->Header;
    if (!HasLineBreak(before.Ending))
        before.Ending = kNewLine;
    found->Lines.insert(found->Lines.begin() + static_cast<std::ptrdiff_t>(at), TLine{text, kNewLine});
    // Every key lies before the new line, so the index only gains it.
    found->KeyIndex.emplace(Fold(cleanKey), at);
    return true;
}

bool TIniDocument::DeleteKey(const std::string& section, const std::string& key)
{
    TSection* found = FindSection(section);
    const long line = found ? FindKey(*found, key) : -1;
    if (line < 0)
        return false;
    found->Lines.erase(found->Lines.begin() + line);
    found->Indexed = false;
    return true;
}

bool TIniDocument::EraseSection(const std::string& section)
{
    const TSection* found = FindSection(section);
    if (!found)
        return false;
    FSections.erase(FSections.begin() + (found - FSections.data()));
    FSectionsIndexed = false;
    return true;
}

std::vector<TIniDocument::TEntry> TIniDocument::Entries() const
{
    std::vector<TEntry> entries;
    size_t line = FSections.front().Lines.size();
    std::string name;
    for (size_t i = 1; i < FSections.size(); ++i) {
        const TSection& section = FSections[i];
        entries.push_back(TEntry{true, section.Name, line++, section.Header.Text});
        for (const TLine& text : section.Lines) {
            if (KeyName(text.Text, name))
                entries.push_back(TEntry{false, name, line, text.Text});
            ++line;
        }
    }
    return entries;
}

bool TIniDocument::Locate(size_t line, size_t& section, long& index) const
{
    size_t first = 0;
    for (size_t i = 0; i < FSections.size(); ++i) {
        const size_t count = FSections[i].Lines.size() + (FSections[i].HasHeader ? 1 : 0);
        if (line < first + count) {
            section = i;
            index = static_cast<long>(line - first) - (FSections[i].HasHeader ? 1 : 0);
            return true;
        }
        first += count;
    }
    return false;
}

bool TIniDocument::RenameSectionAt(size_t line, const std::string& name)
{
    size_t at = 0;
    long index = 0;
    if (!Locate(line, at, index) || index != -1)
        return false;
    TSection& section = FSections[at];
    section.Name = CleanName(name);
    section.Header.Text = "[" + section.Name + "]";
    FSectionsIndexed = false;
    return true;
}

bool TIniDocument::EraseSectionAt(size_t line)
{
    size_t at = 0;
    long index = 0;
    if (!Locate(line, at, index) || index != -1)
        return false;
    FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(at));
    FSectionsIndexed = false;
    return true;
}

bool TIniDocument::DeleteKeyAt(size_t line)
{
    size_t at = 0;
    long index = 0;
    std::string name;
    if (!Locate(line, at, index) || at == 0 || index < 0 ||
        !KeyName(FSections[at].Lines[static_cast<size_t>(index)].Text, name))
        return false;
    FSections[at].Lines.erase(FSections[at].Lines.begin() + index);
    FSections[at].Indexed = false;
    return true;
}

void TIniDocument::AppendSection(const std::string& name)
{
    EndLastLine();
    TSection added;
    added.HasHeader = true;
    added.Name = CleanName(name);
    added.Header = TLine{"[" + added.Name + "]", kNewLine};
    FSections.push_back(std::move(added));
    FSectionsIndexed = false;
}
