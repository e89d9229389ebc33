#pragma once

#include <string>

// The program's numbered texts (500 to 900). Empty for a number without a text.
std::string LoadStr(int id);

// printf-style formatting into a string of whatever length the result needs.
std::string FormatStr(const char* format, ...) __attribute__((format(printf, 1, 2)));
