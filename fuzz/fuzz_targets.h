#pragma once

#include <cstddef>
#include <cstdint>

// The bodies of the fuzz targets, shared by the libFuzzer programs and by the test that
// replays the committed corpus. Each returns 0 and aborts when an invariant fails.

// Any bytes as a font file: every face the reader reports is read; sizes, face counts and
// names must be consistent and valid UTF-8.
int FuzzNamingTable(const uint8_t* data, size_t size);

// Input: section NUL key NUL value NUL, then the bytes of an INI file (missing parts are
// empty). The file is parsed, must serialise back byte for byte, the key is written and
// read back, and every other line must survive.
int FuzzIniStore(const uint8_t* data, size_t size);
