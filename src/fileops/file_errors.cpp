#include "fileops/file_errors.h"

#include <cstdint>

#include "app/string_table.h"
#include "platform/dialogs.h"
#include "platform/error_codes.h"

std::string GetErrorText(int code)
{
    switch (code) {
    case ecFileNotFound:
    case ecPathNotFound: return LoadStr(520);
    case ecAccessDenied: return LoadStr(523);
    case ecWriteProtect: return LoadStr(524);
    case ecNotReady: return LoadStr(521);
    case ecInvalidFont: return "Invalid TrueType Font!";
    case ecReadFault: return LoadStr(530);
    case ecSharingViolation: return LoadStr(522);
    case 86: return LoadStr(531);
    case ecDiskFull: return LoadStr(525);
    case ecInvalidName: return LoadStr(528);
    case ecDirNotEmpty: return LoadStr(527);
    case ecAlreadyExists: return LoadStr(529);
    case 1005: return LoadStr(526);
    default: return FormatStr(LoadStr(532).c_str(), code);
    }
}

bool ShowFileError(IDialogs& dialogs, int code, const std::string& title, bool isLast)
{
    std::string text = GetErrorText(code);
    if (isLast) {
        dialogs.MessageBox(text, title, TMsgIcon::Error, TMsgButtons::Ok);
        return false;
    }
    text += "\n\n" + LoadStr(503);
    return dialogs.MessageBox(text, title, TMsgIcon::Error, TMsgButtons::YesNo) == TMsgAnswer::Yes;
}

std::string FormatBytes(uint64_t value, const std::string& separator)
{
    const std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}
