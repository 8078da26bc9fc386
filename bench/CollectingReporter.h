#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// What the benchmarks produced, by benchmark name without its run options.
struct TBenchResults {
    // Each counter a benchmark set, and its real time per iteration as "ms_per_iteration".
    std::map<std::string, std::map<std::string, double>> Values;
    // Why a benchmark failed.
    std::map<std::string, std::string> Failures;
};

// Reports to the console as usual and keeps every result for the summary.
class TCollectingReporter : public benchmark::ConsoleReporter {
public:
    explicit TCollectingReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.error_occurred) {
                FResults.Failures[name] = run.error_message;
            } else if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                auto& values = FResults.Values[name];
                values["ms_per_iteration"] = 1000 * run.real_accumulated_time / static_cast<double>(run.iterations);
                for (const auto& [counter, value] : run.counters) {
                    values[counter] = value.value;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const TBenchResults& Results() const { return FResults; }

private:
    TBenchResults FResults;
};
