#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_targets.h"

namespace fs = std::filesystem;

namespace {

// The inputs committed for a target: its seed corpus and every reproducer found so far.
std::vector<fs::path> Inputs(const std::string& target)
{
    std::vector<fs::path> files;
    for (const char* kind : {"corpus", "reproducers"}) {
        const fs::path folder = fs::path(FONZETA_FUZZ_DIR) / kind / target;
        if (!fs::is_directory(folder))
            continue;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    }
    return files;
}

std::vector<uint8_t> Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every committed input runs through the fuzz target's body under the sanitizers of this
// build; an invariant that fails aborts the test program.
void Replay(const std::string& target, int (*body)(const uint8_t*, size_t), size_t minimum)
{
    const std::vector<fs::path> inputs = Inputs(target);
    ASSERT_GE(inputs.size(), minimum) << "the seed corpus of " << target << " is missing";
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        const std::vector<uint8_t> bytes = Read(input);
        EXPECT_EQ(body(bytes.data(), bytes.size()), 0);
    }
}

TEST(FuzzReplay, NamingTableInputs) { Replay("naming_table", FuzzNamingTable, 5); }

TEST(FuzzReplay, IniStoreInputs) { Replay("ini_store", FuzzIniStore, 5); }

}  // namespace
