#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/text_file.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace {

using fonzeta::test::TFileSizeLimit;
using fonzeta::test::TTempFolder;

// The new bytes fit in the write buffer and only fail when flushed at the end: the save
// must still report the failure and leave the old file whole.
TEST(SaveTextFile, FullDiskAtTheFinalFlushKeepsTheOldFile)
{
    TTempFolder temp;
    const std::string path = temp / "kept.txt";
    const std::string old(500, 'o');
    {
        std::ofstream out(path, std::ios::binary);
        out << old;
    }
    std::string error;
    {
        TFileSizeLimit full(64);
        EXPECT_FALSE(SaveTextFile(path, std::string(1000, 'n'), error));
    }
    EXPECT_NE(error.find(path), std::string::npos) << error;
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_TRUE(bytes.str() == old) << bytes.str().size() << " bytes";
}

}  // namespace
