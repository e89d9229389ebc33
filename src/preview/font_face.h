#pragma once

#include <optional>
#include <string>

#include <QFont>

// The exact face of a font file, as a QFont.
//
// Qt picks a face by family and style, never by a font's full name: asking for
// "DejaVu Sans Bold" as a family draws DejaVu Sans Book. FontFaceFromFile reads the family and
// style names that the file itself declares (through QRawFont) and returns a QFont for that
// family whose style name, weight and slant select exactly that face, so that the Bold file
// of a family draws bold glyphs. Set the size (and underline or strike-out) on the result;
// changing its weight or italic has no effect while the style name is set.
//
// If Qt's font database does not list that face yet, the file is added to the process font
// table (QFontDatabase::addApplicationFont) and stays there until the program ends. The names
// are remembered per path, so repeated calls do not read the file again.
//
// Returns nothing when the file cannot be read as a font.
std::optional<QFont> FontFaceFromFile(const std::string& fileName);
