#include "bench_app.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include "support/sandbox.h"

namespace fonzeta::bench {

int RunBenchmarks(int argc, char** argv, const TBenchHooks& hooks)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    test::Sandbox::Install();
    int result = 0;
    {
        // Qt sees only the program name; the rest are Google Benchmark's flags.
        int qtArgc = 1;
        QApplication app(qtArgc, argv);
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
            result = 1;
        } else {
            if (hooks.SetUp)
                hooks.SetUp();
            benchmark::RunSpecifiedBenchmarks(hooks.Reporter);
        }
        benchmark::Shutdown();
        if (hooks.TearDown)
            hooks.TearDown();
    }
    test::Sandbox::Remove();
    return result;
}

}  // namespace fonzeta::bench
