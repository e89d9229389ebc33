#include "app/settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "app/string_table.h"
#include "platform/ini_file.h"

namespace {

constexpr int flmFolderValue = 2;
constexpr int flmLastValue = 3;

bool ToInt(const std::string& text, int& value)
{
    const std::string t = TrimBlanks(text);
    if (t.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(t.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

// "maximised,left,top,width,height"; false unless it is exactly five whole numbers.
bool ParseWindow(const std::string& text, int (&numbers)[5])
{
    size_t start = 0;
    for (int i = 0; i < 5; ++i) {
        const size_t comma = text.find(',', start);
        const bool last = i == 4;
        if (last != (comma == std::string::npos))
            return false;
        const std::string part = text.substr(start, last ? std::string::npos : comma - start);
        if (!ToInt(part, numbers[i]))
            return false;
        start = comma + 1;
    }
    return true;
}

}  // namespace

std::vector<std::string> ReadSettings(TIniFile& ini, TSettings& settings)
{
    std::vector<std::string> problems;
    const TSettings defaults;

    const std::string window = ini.ReadString("Window", "Main", "0,100,100,550,500");
    int numbers[5];
    if (ParseWindow(window, numbers)) {
        settings.Maximized = numbers[0] == 1;
        settings.Left = numbers[1];
        settings.Top = numbers[2];
        settings.Width = numbers[3];
        settings.Height = numbers[4];
    } else {
        problems.push_back(FormatStr(
            "The window place \"%s\" under [Window] Main in %s is not five whole numbers "
            "separated by commas. The window opens at its default place.",
            window.c_str(), ini.FileName().c_str()));
    }

    settings.Pane = ini.ReadInteger("Option", "Left", defaults.Pane);
    const int mode = ini.ReadInteger("Option", "ViewMode", defaults.ViewMode);
    settings.ViewMode = mode >= 0 && mode <= flmLastValue ? mode : defaults.ViewMode;
    if (settings.ViewMode == flmFolderValue)
        settings.Path = ini.ReadString("Option", "Path", "");
    settings.ShowBorrowedGlyphs = ini.ReadInteger("Option", "ShowBorrowedGlyphs", 0) != 0;

    settings.Style = (ini.ReadInteger("Font", "Style", 0) >> 1) & (fsBold | fsItalic | fsUnderline);
    settings.Size = ini.ReadInteger("Font", "Size", defaults.Size);
    settings.AntiAlias = ini.ReadInteger("Font", "AntiAlias", defaults.AntiAlias ? 1 : 0) != 0;

    settings.Back = ini.ReadInteger("Color", "Back", defaults.Back);
    settings.Fore = ini.ReadInteger("Color", "Fore", defaults.Fore);
    settings.Name = ini.ReadInteger("Color", "Name", defaults.Name);

    settings.History = ReadHistory(ini);
    return problems;
}

bool WriteSettings(TIniFile& ini, const TSettings& settings)
{
    ini.SetAutoFlush(false);
    bool ok = ini.WriteString("Window", "Main",
                              FormatStr("%d,%d,%d,%d,%d", settings.Maximized ? 1 : 0,
                                        settings.Left, settings.Top, settings.Width,
                                        settings.Height));
    ok = ok && ini.WriteInteger("Option", "Left", settings.Pane);
    ok = ok && ini.WriteInteger("Option", "ViewMode", settings.ViewMode);
    if (settings.ViewMode == flmFolderValue)
        ok = ok && ini.WriteString("Option", "Path", settings.Path);
    // Files of users who never turned the option on stay as they were.
    if (settings.ShowBorrowedGlyphs || ini.ValueExists("Option", "ShowBorrowedGlyphs"))
        ok = ok && ini.WriteInteger("Option", "ShowBorrowedGlyphs", settings.ShowBorrowedGlyphs);
    ok = ok && ini.WriteInteger("Font", "Style", (settings.Style & 7) * 2);
    ok = ok && ini.WriteInteger("Font", "Size", settings.Size);
    ok = ok && ini.WriteInteger("Font", "AntiAlias", settings.AntiAlias ? 1 : 0);
    ok = ok && ini.WriteInteger("Color", "Back", settings.Back);
    ok = ok && ini.WriteInteger("Color", "Fore", settings.Fore);
    ok = ok && WriteHistory(ini, settings.History);
    // Nothing is written unless every change could be made, so the old file stays whole.
    return ok && ini.UpdateFile();
}

std::vector<std::string> ReadHistory(TIniFile& ini)
{
    std::vector<std::string> texts;
    const size_t lines = ini.ReadSection("History").size();
    for (size_t i = 1; i <= lines; ++i)
        texts.push_back(ini.ReadString("History", std::to_string(i), ""));
    return texts;
}

bool WriteHistory(TIniFile& ini, const std::vector<std::string>& texts)
{
    bool ok = ini.EraseSection("History");
    for (size_t i = 0; ok && i < texts.size(); ++i)
        ok = ini.WriteString("History", std::to_string(i + 1), texts[i]);
    return ok;
}
