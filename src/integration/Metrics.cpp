#include "integration/Metrics.h"

#include "integration/DisplayConnected.h"
#include "platform/Clock.h"
#include "rows/DisplaySession.h"

#include <fmt/format.h>

#include <chrono>
#include <functional>

namespace {

// A label value with backslash, double quote and line feed escaped.
std::string LabelValue(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '"':
            escaped += "\\\"";
            break;
        case '\n':
            escaped += "\\n";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

class TMetricWriter {
public:
    void Family(const char* name, const char* type, const char* help) {
        fmt::format_to(std::back_inserter(FText), "# HELP {} {}\n# TYPE {} {}\n", name, help, name, type);
        FName = name;
    }
    void Sample(const char* label, const std::string& value, double number) {
        fmt::format_to(std::back_inserter(FText), "{}{{{}=\"{}\"}} {}\n", FName, label, LabelValue(value),
                       number);
    }
    void Sample(double number) { fmt::format_to(std::back_inserter(FText), "{} {}\n", FName, number); }
    std::string Text() && { return std::move(FText); }

private:
    std::string FText;
    const char* FName = "";
};

} // namespace

std::string MetricsText(const TDisplaySession& session) {
    const TLocalViewModel& model = session.Model();
    TMetricWriter out;
    const auto perDisplay =
        [&](const char* name, const char* type, const char* help,
            const std::function<double(const TDisplayClientBase*, const TRowSendCycle::TState&)>& value) {
            out.Family(name, type, help);
            for (const TVDisplay& record : model.DisplayRecords()) {
                const TRowSendCycle* cycle = session.Cycle(record.Name());
                const TRowSendCycle::TState state =
                    cycle != nullptr ? cycle->State() : TRowSendCycle::TState{};
                out.Sample("display", record.Name(),
                           value(model.GetDisplayClientFromCache(record.Name()), state));
            }
        };
    perDisplay(
        "vorlix_display_connected", "gauge", "Whether the display is connected (1) or not (0).",
        [](const TDisplayClientBase* client, const auto&) { return DisplayConnected(client) ? 1.0 : 0.0; });
    perDisplay(
        "vorlix_display_rows_sent_total", "counter", "Rows the display accepted.",
        [](const auto*, const TRowSendCycle::TState& state) { return static_cast<double>(state.RowsSent); });
    perDisplay("vorlix_display_send_failures_total", "counter", "Rows that could not be sent to the display.",
               [](const auto*, const TRowSendCycle::TState& state) {
                   return static_cast<double>(state.SendFailures);
               });
    perDisplay("vorlix_display_connections_total", "counter", "Connections made to the display.",
               [](const TDisplayClientBase* client, const auto&) {
                   return client != nullptr ? static_cast<double>(client->ConnectionCount()) : 0.0;
               });

    const auto sources = model.GetDatasources();
    out.Family("vorlix_source_refresh_errors_total", "counter", "Refreshes of the source that failed.");
    for (const TDisplayDataSourceBase* source : sources) {
        out.Sample("source", source->Name(),
                   static_cast<double>(model.SourceStatus(source->Name()).ErrorCount));
    }
    out.Family("vorlix_source_seconds_since_change", "gauge",
               "Seconds since the source's value last changed; absent while it never had one.");
    const std::int64_t now = DateTimeToMSecs(Now());
    for (const TDisplayDataSourceBase* source : sources) {
        if (const TDateTime changed = model.SourceStatus(source->Name()).Changed; changed != 0) {
            out.Sample("source", source->Name(),
                       static_cast<double>(now - DateTimeToMSecs(changed)) / 1000.0);
        }
    }
    out.Family("vorlix_collection_pass_seconds", "gauge", "Duration of the latest collection pass.");
    out.Sample(std::chrono::duration<double>(session.LastPassDuration()).count());
    return std::move(out).Text();
}
