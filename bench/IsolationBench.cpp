// Whether displays that stop reading hold up the others: vorlix-headless with ten healthy TCP
// displays showing rows of 250 ms, run alone and then beside a TCP display whose peer never reads
// and a serial display on a pseudo-terminal that nobody reads. In each run the intervals between
// the rows arriving at the healthy displays, and between the collection passes (seen as the
// program opening a file source's file that is due on every pass).

#include "BenchConfiguration.h"
#include "FileOpenings.h"
#include "LoopbackDisplays.h"
#include "MeasuringWindow.h"
#include "Samples.h"
#include "UnreadDisplays.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t HealthyDisplays = 10;
constexpr std::uint32_t HealthyRowMsec = 250;
// Long rows, often, so that the unread displays' buffers fill within seconds: the system takes
// some 20 KiB for the pseudo-terminal and 100 KB for the connection, the client 64 KiB.
constexpr std::uint32_t UnreadRowMsec = 100;
constexpr std::size_t UnreadSerialRowLength = 3000;
constexpr std::size_t UnreadTcpRowLength = 10000;
// How a write that no longer progresses ends, and how each of the two clients reports it.
const std::string Stall = "No progress for 2 s";
const std::string TcpStall = "Client has error while sending:" + Stall;
constexpr int SourcesOfEachKind = 5;
constexpr std::uint16_t FileTimeoutMsec = 5000;
// Due whenever a pass looks.
constexpr std::uint16_t EveryPassMsec = 1;
// What every row's line holds, and no other line.
const std::string RowMarker = " -t\"";

struct TRunFigures {
    TSamples RowIntervals;
    TSamples PassIntervals;
    // Writes to the unread displays that failed within the window.
    std::size_t Stalls = 0;
};

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t found = text.find(part); found != std::string::npos;
         found = text.find(part, found + 1)) {
        ++count;
    }
    return count;
}

// The intervals between consecutive times that both lie within [from, to].
void AddIntervals(const std::vector<SteadyClock::time_point>& times, SteadyClock::time_point from,
                  SteadyClock::time_point to, TSamples& samples) {
    for (std::size_t i = 1; i < times.size(); ++i) {
        if (times[i - 1] >= from && times[i] <= to) {
            samples.Add(times[i] - times[i - 1]);
        }
    }
}

bool ShowsARow(const std::string& received) {
    const std::size_t row = received.find(RowMarker);
    return row != std::string::npos && received.find("\r\n", row) != std::string::npos;
}

// One run; an empty answer and the benchmark skipped when it could not measure what it should.
std::optional<TRunFigures> Run(benchmark::State& state, std::chrono::seconds window, bool besideUnread) {
    TLoopbackDisplays healthy(HealthyDisplays);
    const auto unreadTcp = besideUnread ? std::make_unique<TUnreadTcpDisplay>() : nullptr;
    const auto unreadSerial = besideUnread ? std::make_unique<TUnreadSerialDisplay>() : nullptr;
    TempDir directory;
    TBenchConfiguration configuration(directory.Path());
    configuration.AddStaticSources(SourcesOfEachKind);
    configuration.AddFileSources(SourcesOfEachKind, FileTimeoutMsec);
    configuration.AddFileSources(1, EveryPassMsec);
    for (std::size_t display = 0; display < healthy.Count(); ++display) {
        configuration.AddDisplay(healthy.Address(display), 2, HealthyRowMsec);
    }
    if (besideUnread) {
        configuration.AddDisplay(DisplayType_Vorlix3Ip, unreadTcp->Address(), 2, UnreadRowMsec,
                                 UnreadTcpRowLength);
        configuration.AddDisplay(DisplayType_Vorlix3Com, unreadSerial->Device(), 2, UnreadRowMsec,
                                 UnreadSerialRowLength);
    }
    configuration.Write();
    const TFileOpenings passes(TBenchConfiguration::SourceFile(directory.Path(), SourcesOfEachKind + 1));

    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, directory.Path().string()});
    // The output is read meanwhile: the program's long log lines would soon fill the pipe.
    const auto waitForRows = SteadyClock::now() + 10s;
    for (std::size_t display = 0; display < healthy.Count();) {
        if (healthy.WaitFor(display, ShowsARow, 0ms)) {
            ++display;
        } else if (SteadyClock::now() < waitForRows) {
            headless.DrainOutput(10ms);
        } else {
            state.SkipWithError("a healthy display never showed a row");
            return std::nullopt;
        }
    }
    // Measured once both unread displays are stuck, so that the window holds their stalls and
    // the reconnections after them.
    if (besideUnread &&
        (!headless.WaitForOutput(TcpStall, 60s) ||
         !headless.WaitForOutput("Error while writing to port " + unreadSerial->Device(), 60s))) {
        state.SkipWithError("an unread display's writes did not stall within 60 s");
        return std::nullopt;
    }
    const std::size_t before = Occurrences(headless.Output(), Stall);
    const auto from = SteadyClock::now();
    headless.DrainOutput(window);
    const auto to = SteadyClock::now();
    TRunFigures figures;
    for (std::size_t display = 0; display < healthy.Count(); ++display) {
        AddIntervals(healthy.LineArrivals(display, RowMarker), from, to, figures.RowIntervals);
    }
    AddIntervals(passes.Times(), from, to, figures.PassIntervals);
    figures.Stalls = Occurrences(headless.Output(), Stall) - before;
    if (figures.RowIntervals.Empty() || figures.PassIntervals.Empty()) {
        state.SkipWithError("no rows or no collection passes were seen");
        return std::nullopt;
    }
    return figures;
}

void HeadlessIsolation(benchmark::State& state) {
    const auto window = MeasuringWindow(state);
    for (auto _ : state) {
        const auto start = SteadyClock::now();
        const auto alone = Run(state, window, false);
        const auto beside = alone ? Run(state, window, true) : std::nullopt;
        if (!beside) {
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(SteadyClock::now() - start).count());
        const double aloneRows = alone->RowIntervals.Percentile(0.99);
        const double besideRows = beside->RowIntervals.Percentile(0.99);
        state.counters["alone_row_p99_ms"] = aloneRows;
        state.counters["beside_row_p99_ms"] = besideRows;
        state.counters["row_p99_difference_ms"] = std::abs(besideRows - aloneRows);
        state.counters["alone_pass_p99_ms"] = alone->PassIntervals.Percentile(0.99);
        state.counters["beside_pass_p99_ms"] = beside->PassIntervals.Percentile(0.99);
        state.counters["beside_stalls"] = static_cast<double>(beside->Stalls);
    }
}

BENCHMARK(HeadlessIsolation)->Arg(30)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
