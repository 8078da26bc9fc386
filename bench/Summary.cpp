#include "Summary.h"

#include <fmt/format.h>
#include <sys/utsname.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

constexpr double PassTargetMsec = 1;
// 100 × 10 to 1000 × 50 is 50 times the source × client pairs; near-linear growth allows half as
// much again.
constexpr double PairGrowth = 50;
constexpr double GrowthTarget = 1.5 * PairGrowth;
constexpr double EvaluatorSpeedupTarget = 10;
constexpr double SendTargetMsec = 1;
constexpr double MqttTargetMsec = 10;
constexpr double IdleTargetPercent = 0.1;
constexpr double IdleTargetPercent100 = 0.3;
constexpr double StartUpTargetMsec = 150;
constexpr double PushTargetMsec = 5;
constexpr double IsolationDifferenceTargetMsec = 10;
constexpr double PassIntervalTargetMsec = 110;
constexpr double ManySourcesStartUpTargetMsec = 1000;
constexpr double StopTargetMsec = 1000;
constexpr double LongExpressionPassTargetMsec = 20;

#ifdef __clang__
constexpr const char* Compiler = "Clang " __clang_version__;
#else
constexpr const char* Compiler = "GCC " __VERSION__;
#endif

const std::string EvaluatorOurs = "Evaluator/ours/";
const std::string EvaluatorMuParser = "Evaluator/muparser/";

std::string Verdict(const std::optional<double>& value, bool met) {
    if (!value) {
        return "not run";
    }
    return met ? "met" : "MISSED";
}

std::string Shown(const std::optional<double>& value, const std::string& unit, int decimals = 3) {
    return value ? fmt::format("{:.{}f} {}", *value, decimals, unit) : "—";
}

// Characters as a terminal shows them: UTF-8 continuation bytes take no room.
std::size_t Width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width - std::min(width, Width(text)), ' ');
}

std::string FirstValue(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const std::size_t colon = line.find(':');
        if (line.rfind(key, 0) == 0 && colon != std::string::npos) {
            const std::size_t value = line.find_first_not_of(" \t", colon + 1);
            return value == std::string::npos ? "" : line.substr(value);
        }
    }
    return "unknown";
}

} // namespace

TSummary::TRow TSummary::AtMost(const std::string& figure, const std::optional<double>& value,
                                const std::string& unit, int decimals, double target,
                                const std::string& targetUnit) {
    return {figure, Shown(value, unit, decimals), fmt::format("≤ {} {}", target, targetUnit),
            Verdict(value, value && *value <= target)};
}

TSummary::TSummary(TBenchResults results) : FResults(std::move(results)), FRows(BuildRows()) {}

std::optional<double> TSummary::Value(const std::string& benchmark, const std::string& counter) const {
    const auto found = FResults.Values.find(benchmark);
    if (found == FResults.Values.end() || !found->second.contains(counter)) {
        return std::nullopt;
    }
    return found->second.at(counter);
}

std::vector<TSummary::TRow> TSummary::BuildRows() const {
    std::vector<TRow> rows;
    AddCollectionPass(rows);
    AddEvaluators(rows);
    AddAsciiReduction(rows);
    AddSendPath(rows);
    AddMqtt(rows);
    AddHeadless(rows);
    AddApi(rows);
    AddIsolation(rows);
    AddScale(rows);
    for (const auto& [benchmark, failure] : FResults.Failures) {
        rows.push_back({benchmark, failure, "", "FAILED"});
    }
    return rows;
}

void TSummary::AddCollectionPass(std::vector<TRow>& rows) const {
    const auto small = Value("CollectionPass/100x10", "median_ms");
    const auto large = Value("CollectionPass/1000x50", "median_ms");
    rows.push_back(
        AtMost("Collection pass, 100 sources × 10 clients, median", small, "ms", 3, PassTargetMsec, "ms"));
    rows.push_back({"Collection pass, 1000 sources × 50 clients, median", Shown(large, "ms"), "", ""});
    std::optional<double> growth;
    if (small && large && *small > 0) {
        growth = *large / *small;
    }
    rows.push_back({fmt::format("Growth of the pass for {:.0f}× the source × client pairs", PairGrowth),
                    growth ? fmt::format("{:.1f}×", *growth) : "—", fmt::format("≤ {:.0f}×", GrowthTarget),
                    Verdict(growth, growth && *growth <= GrowthTarget)});
}

void TSummary::AddEvaluators(std::vector<TRow>& rows) const {
    for (const auto& [benchmark, values] : FResults.Values) {
        if (benchmark.rfind(EvaluatorOurs, 0) != 0) {
            continue;
        }
        const std::string text = benchmark.substr(EvaluatorOurs.size());
        const auto ours = Value(benchmark, "ms_per_iteration");
        const auto theirs = Value(EvaluatorMuParser + text, "ms_per_iteration");
        std::optional<double> speedup;
        std::string value = "—";
        if (ours && theirs && *ours > 0) {
            speedup = *theirs / *ours;
            value = fmt::format("{:.1f}× (ours {:.2f} µs, muparser {:.2f} µs)", *speedup, 1000 * *ours,
                                1000 * *theirs);
        }
        rows.push_back({"Evaluator against muparser, " + text, value,
                        fmt::format("≥ {:.0f}× faster", EvaluatorSpeedupTarget),
                        Verdict(speedup, speedup && *speedup >= EvaluatorSpeedupTarget)});
    }
}

void TSummary::AddAsciiReduction(std::vector<TRow>& rows) const {
    rows.push_back({"JSON body of 8 MiB reduced to ASCII",
                    Shown(Value("AsciiReduction", "ms_per_iteration"), "ms", 1), "", ""});
}

void TSummary::AddSendPath(std::vector<TRow>& rows) const {
    const auto median = Value("SendPath", "median_ms");
    const auto p99 = Value("SendPath", "p99_ms");
    rows.push_back({"Send path over TCP, median of 10,000", Shown(median, "ms"), "", ""});
    rows.push_back(AtMost("Send path over TCP, 99th percentile", p99, "ms", 3, SendTargetMsec, "ms"));
}

void TSummary::AddMqtt(std::vector<TRow>& rows) const {
    const auto median = Value("MqttPublishToPixels", "median_ms");
    const auto p99 = Value("MqttPublishToPixels", "p99_ms");
    rows.push_back({"MQTT publish to pixels, median of 1000", Shown(median, "ms"), "", ""});
    rows.push_back(AtMost("MQTT publish to pixels, 99th percentile", p99, "ms", 3, MqttTargetMsec, "ms"));
}

void TSummary::AddHeadless(std::vector<TRow>& rows) const {
    const auto idle = Value("HeadlessIdle/10", "cpu_percent");
    rows.push_back(AtMost("Idle processor use, 10 displays, vorlix-headless", idle, "% of a core", 2,
                          IdleTargetPercent, "%"));
    const auto idle100 = Value("HeadlessIdle/100", "cpu_percent");
    rows.push_back(AtMost("Idle processor use, 100 displays, vorlix-headless", idle100, "% of a core", 2,
                          IdleTargetPercent100, "%"));
    const auto floor = Value("WakeUpFloor", "cpu_percent");
    rows.push_back(
        {"The same machine waking one thread every 100 ms", Shown(floor, "% of a core", 2), "", ""});
    const auto median = Value("HeadlessStartUp", "median_ms");
    const auto worst = Value("HeadlessStartUp", "worst_ms");
    rows.push_back(
        {"Start-up to the first row, 20 displays × 50 rows, median", Shown(median, "ms", 0), "", ""});
    rows.push_back(AtMost("Start-up to the first row, 20 displays × 50 rows, worst of 10", worst, "ms", 0,
                          StartUpTargetMsec, "ms"));
}

void TSummary::AddIsolation(std::vector<TRow>& rows) const {
    const auto alone = Value("HeadlessIsolation", "alone_row_p99_ms");
    const auto beside = Value("HeadlessIsolation", "beside_row_p99_ms");
    const auto difference = Value("HeadlessIsolation", "row_p99_difference_ms");
    rows.push_back({"Interval between rows of 250 ms, 10 healthy displays alone, 99th percentile",
                    Shown(alone, "ms", 1), "", ""});
    rows.push_back(
        {"The same beside a TCP and a serial display that never read", Shown(beside, "ms", 1), "", ""});
    const auto stalls = Value("HeadlessIsolation", "beside_stalls");
    rows.push_back({"Writes to those two that failed after 2 s without progress, meanwhile",
                    stalls ? fmt::format("{:.0f}", *stalls) : "—", "", ""});
    rows.push_back(AtMost("Difference of the two 99th percentiles", difference, "ms", 1,
                          IsolationDifferenceTargetMsec, "ms"));
    for (const auto& [counter, figure] :
         {std::pair{"alone_pass_p99_ms", "Collection pass interval, healthy displays alone, 99th percentile"},
          std::pair{"beside_pass_p99_ms",
                    "Collection pass interval beside the displays that never read, 99th percentile"}}) {
        rows.push_back(
            AtMost(figure, Value("HeadlessIsolation", counter), "ms", 1, PassIntervalTargetMsec, "ms"));
    }
}

bool TSummary::Missed() const {
    return std::any_of(FRows.begin(), FRows.end(), [](const TRow& row) { return row.Verdict == "MISSED"; });
}

void TSummary::Print(std::ostream& out) const {
    std::vector<TRow> table{{"Figure", "Value", "Target", "Verdict"}};
    table.insert(table.end(), FRows.begin(), FRows.end());
    std::size_t widths[4] = {};
    for (const TRow& row : table) {
        widths[0] = std::max(widths[0], Width(row.Figure));
        widths[1] = std::max(widths[1], Width(row.Value));
        widths[2] = std::max(widths[2], Width(row.Target));
        widths[3] = std::max(widths[3], Width(row.Verdict));
    }
    const auto print = [&](const std::string& a, const std::string& b, const std::string& c,
                           const std::string& d) {
        out << "| " << Padded(a, widths[0]) << " | " << Padded(b, widths[1]) << " | " << Padded(c, widths[2])
            << " | " << Padded(d, widths[3]) << " |\n";
    };
    for (std::size_t i = 0; i < table.size(); ++i) {
        print(table[i].Figure, table[i].Value, table[i].Target, table[i].Verdict);
        if (i == 0) {
            print(std::string(widths[0], '-'), std::string(widths[1], '-'), std::string(widths[2], '-'),
                  std::string(widths[3], '-'));
        }
    }
    out << "\nMachine: " << MachineDescription() << "\n";
}

std::string MachineDescription() {
    utsname system{};
    uname(&system);
    // In kB; an unreadable value reads as 0.
    const double gibibytes =
        std::strtod(FirstValue("/proc/meminfo", "MemTotal").c_str(), nullptr) / (1024.0 * 1024.0);
    return fmt::format("{}, {} cores, {:.0f} GiB, {} {}, {}", FirstValue("/proc/cpuinfo", "model name"),
                       std::thread::hardware_concurrency(), gibibytes, system.sysname, system.release,
                       Compiler);
}

void TSummary::AddApi(std::vector<TRow>& rows) const {
    const auto median = Value("PushToPixels", "median_ms");
    const auto p99 = Value("PushToPixels", "p99_ms");
    rows.push_back({"Push to pixels over the HTTP API, median of 1000", Shown(median, "ms"), "", ""});
    rows.push_back(
        AtMost("Push to pixels over the HTTP API, 99th percentile", p99, "ms", 3, PushTargetMsec, "ms"));
    const auto reports = Value("DisplayReports", "requests_per_second");
    rows.push_back({"GET /api/v1/displays, 10 displays, 4 clients", Shown(reports, "requests/s", 0), "", ""});
    const auto pace = Value("DisplayReports", "fewest_rows_per_second");
    rows.push_back(
        {"Rows a display got meanwhile (5/s when the ticks keep up)", Shown(pace, "rows/s", 1), "", ""});
}

void TSummary::AddScale(std::vector<TRow>& rows) const {
    rows.push_back(AtMost("Start-up to the first log line, 40,000 sources, worst of 3",
                          Value("StartUpManySources", "worst_ms"), "ms", 0, ManySourcesStartUpTargetMsec,
                          "ms"));
    rows.push_back(AtMost("SIGTERM during that start-up until the end, worst of 3",
                          Value("StopDuringStartUp", "worst_ms"), "ms", 0, StopTargetMsec, "ms"));
    rows.push_back(AtMost("Collection pass, 10 expressions × 65,000 characters × 9,000 references, median",
                          Value("LongExpressionPass", "median_ms"), "ms", 1, LongExpressionPassTargetMsec,
                          "ms"));
}
