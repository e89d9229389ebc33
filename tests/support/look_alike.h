#pragma once

#include <string>

namespace fonzeta::test {

class TTempFolder;

// Writes LookAlike.ttf into `folder`: a copy of DejaVuSerif.ttf whose naming table says it is
// "DejaVu Sans" (same style "Book"), the family of an installed font, and returns its path.
// Drawing it must show serif glyphs: it proves a record is drawn from its own file.
std::string SerifNamedSans(const TTempFolder& folder);

}  // namespace fonzeta::test
