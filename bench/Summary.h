#pragma once

#include "CollectingReporter.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The figures the benchmarks stand for, each with its target and verdict, and the machine they
// ran on.
class TSummary {
public:
    explicit TSummary(TBenchResults results);

    // A table in Markdown, then the machine.
    void Print(std::ostream& out) const;
    // Some target was not met.
    bool Missed() const;
    bool Failed() const { return !FResults.Failures.empty(); }

private:
    struct TRow {
        std::string Figure;
        std::string Value;
        std::string Target;
        std::string Verdict;
    };

    // A figure that meets its target when it is at most `target`.
    static TRow AtMost(const std::string& figure, const std::optional<double>& value, const std::string& unit,
                       int decimals, double target, const std::string& targetUnit);

    std::vector<TRow> BuildRows() const;
    void AddCollectionPass(std::vector<TRow>& rows) const;
    void AddEvaluators(std::vector<TRow>& rows) const;
    void AddAsciiReduction(std::vector<TRow>& rows) const;
    void AddSendPath(std::vector<TRow>& rows) const;
    void AddMqtt(std::vector<TRow>& rows) const;
    void AddHeadless(std::vector<TRow>& rows) const;
    void AddApi(std::vector<TRow>& rows) const;
    void AddIsolation(std::vector<TRow>& rows) const;
    void AddScale(std::vector<TRow>& rows) const;
    std::optional<double> Value(const std::string& benchmark, const std::string& counter) const;

    const TBenchResults FResults;
    const std::vector<TRow> FRows;
};

// Processor, cores, memory, system and compiler, in one line.
std::string MachineDescription();
