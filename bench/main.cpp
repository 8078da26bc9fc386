// vorlix-bench: runs the benchmarks (Google Benchmark's options apply, e.g. --benchmark_filter),
// then prints the summary table. Exits with 1 when a benchmark failed, 2 when a target was missed.

#include "CollectingReporter.h"
#include "Summary.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <iostream>

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    // Colours only for a terminal, so that a saved run reads cleanly.
    TCollectingReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                       : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const TSummary summary(reporter.Results());
    std::cout << "\n";
    summary.Print(std::cout);
    if (summary.Failed()) {
        return 1;
    }
    return summary.Missed() ? 2 : 0;
}
