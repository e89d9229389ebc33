#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// File paths are bytes (std::string) everywhere in the program, as the kernel keeps them: a
// name copied from an old archive may be no valid UTF-8. Qt's file classes take QString
// paths, which on a UTF-8 system cannot spell such a name. These helpers are the one
// crossing point between the two.

// The path for a Qt file class (QFile::decodeName). Reaches the same file only when
// QtCanSpell(path); otherwise open the file with ReadWholeFile or the system's calls.
QString PathToQt(const std::string& path);
// A path Qt gave (a folder browser's choice, a dropped file) as bytes (QFile::encodeName).
std::string PathFromQt(const QString& path);
// True when PathToQt(path) names the very same file.
bool QtCanSpell(const std::string& path);

// The path as a person reads it: UTF-8 decoded, each byte that is no part of valid UTF-8
// shown as "\xHH", so two different names never look the same.
QString DisplayPath(const std::string& path);
// DisplayPath as UTF-8, for texts built as std::string.
std::string DisplayPathUtf8(const std::string& path);

// Reads the whole regular file at `path` (any bytes) into `data`. False with `error`
// saying why, naming the path, when it cannot.
bool ReadWholeFile(const std::string& path, QByteArray& data, std::string& error);
