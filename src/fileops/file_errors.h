#pragma once

#include <cstdint>
#include <string>

class IDialogs;

// The message for a file operation's result code (see platform/error_codes.h); codes
// without a text of their own give the numbered "Error Occured" text.
std::string GetErrorText(int code);

// Shows the error box for a failed file: the code's text, and for any file but the last
// the question whether to go on (Yes/No). True only when the user answered Yes.
bool ShowFileError(IDialogs& dialogs, int code, const std::string& title, bool isLast);

// `value` in decimal with `separator` between groups of three digits ("1,000,000").
std::string FormatBytes(uint64_t value, const std::string& separator);
