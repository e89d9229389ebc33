#pragma once
// The main of every benchmark program: a sandbox for fonts and settings, an offscreen
// application, Google Benchmark's flags, and what the program must set up and take down.
#include <functional>

namespace benchmark {
class BenchmarkReporter;
}

namespace fonzeta::bench {

struct TBenchHooks {
    // Runs once the application exists, before the first benchmark (shared folders).
    std::function<void()> SetUp;
    // Runs before the application goes: windows must not outlive it.
    std::function<void()> TearDown;
    // Replaces the console reporter when set (e.g. to add derived columns).
    benchmark::BenchmarkReporter* Reporter = nullptr;
};

int RunBenchmarks(int argc, char** argv, const TBenchHooks& hooks = {});

}  // namespace fonzeta::bench
