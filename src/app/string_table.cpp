#include "app/string_table.h"

#include <cstdarg>
#include <cstdio>
#include <map>

namespace {

const std::map<int, std::string>& Table()
{
    static const std::map<int, std::string> table = {
        {503, "Do you want to process the rest of files?"},
        {504, "Error"},
        {507, "Select Folder contains font files "},
        {518, "New Folder"},
        {520, "The system cannot find the file/folder specified"},
        {521, "Drive is not ready"},
        {522, "There has been sharing violation. File or Folder is being used by another program"},
        {523, "Access is denied."},
        {524, "Disk is write-protected"},
        {525, "There is no enough space in disk"},
        {526, "The volume does not contain a recognized file system."},
        {527, "Folder is not empty."},
        {528, "Invalid Name"},
        {529, "The file/folder which has same name is already exists."},
        {530, "Read failed. Disk may be broken."},
        {531, "Invalid Password"},
        {532, "Error Occured. Error Code : %d\n\nPlease mail me an error code and situation error "
              "occured."},
        {534, "Installing..."},
        {541, "Font Count=%d"},
        {600, "Find"},
        {601, "\n\nFind Text:"},
        {610, "Screen Fonts"},
        {611, "Installed Fonts"},
        {612, "Fonts in folder"},
        {700, "Character Map -  "},
        {800, "Printer: "},
        {900, "Selected %d Fonts"},
    };
    return table;
}

}  // namespace

std::string LoadStr(int id)
{
    const auto& table = Table();
    const auto it = table.find(id);
    return it == table.end() ? std::string() : it->second;
}

std::string FormatStr(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (size > 0) {
        result.resize(static_cast<size_t>(size) + 1);
        std::vsnprintf(result.data(), result.size(), format, args);
        result.resize(static_cast<size_t>(size));
    }
    va_end(args);
    return result;
}
