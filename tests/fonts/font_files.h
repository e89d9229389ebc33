#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace fonzeta::test {

// Font files the catalogue tests need beyond the sandbox's TrueType fonts, made by fontTools
// (an independent implementation of the formats), and fontTools' reading of their names.

// An OpenType font with CFF outlines, holding the printable ASCII glyphs of `ttf`, named
// `family` (also its full name). Throws when fontTools fails.
std::string MakeOpenTypeFont(const std::string& path, const std::string& ttf,
                             const std::string& family);
// A font collection (.ttc) of the given files, one face each, in order.
std::string MakeCollection(const std::string& path, const std::vector<std::string>& fonts);

// Name IDs 0 to 7 of every face of each file as fontTools reads them, taking per name ID
// the first Microsoft record in US English: what the reader must give a US English user.
using TFaceNames = std::array<std::string, 8>;
std::map<std::string, std::vector<TFaceNames>> ReferenceNames(const std::vector<std::string>& files);

// A collection made byte by byte from whole font files (as TTtfBuilder builds them): the
// "ttcf" header, then each font with its table offsets moved to where its tables now lie.
std::vector<uint8_t> CollectionBytes(const std::vector<std::vector<uint8_t>>& fonts);

}  // namespace fonzeta::test
