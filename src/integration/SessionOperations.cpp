#include "integration/SessionOperations.h"

#include "integration/DisplayConnected.h"
#include "integration/Metrics.h"
#include "model/StaticDateChange.h"
#include "platform/DateTimeText.h"
#include "platform/SprintF.h"
#include "rows/DisplaySession.h"

namespace {

using json = nlohmann::ordered_json;

json TimeOrNull(TDateTime value) {
    return value == 0 ? json(nullptr) : json(IsoDateTimeText(value));
}

json TextOrNull(const std::string& text) {
    return text.empty() ? json(nullptr) : json(text);
}

// What a display answered when asked for its version, without the line break and blanks around it.
json VersionOrNull(const TDisplayClientBase* client) {
    if (client == nullptr) {
        return nullptr;
    }
    constexpr const char* Blanks = " \t\r\n";
    const std::string version = client->SoftwareVersion();
    const std::size_t first = version.find_first_not_of(Blanks);
    if (first == std::string::npos) {
        return "";
    }
    return version.substr(first, version.find_last_not_of(Blanks) - first + 1);
}

json SourceDocument(const TLocalViewModel& model, const TDisplayDataSourceBase& source) {
    const TSourceStatus status = model.SourceStatus(source.Name());
    return {{"name", source.Name()},
            {"kind", source.GetDataSourceType()},
            {"valueType", static_cast<int>(source.ValueType())},
            {"public", source.PublicChangable()},
            {"lines", source.Value.Lines()},
            {"changed", TimeOrNull(status.Changed)},
            {"error", TextOrNull(status.LastError)}};
}

json DisplayDocument(const TDisplaySession& session, const TVDisplay& record) {
    const TDisplayClientBase* client = session.Model().GetDisplayClientFromCache(record.Name());
    const TRowSendCycle* cycle = session.Cycle(record.Name());
    const TRowSendCycle::TState state = cycle != nullptr ? cycle->State() : TRowSendCycle::TState{};
    const TConnectionStatus status = client != nullptr ? client->ConnectionStatus() : TConnectionStatus{};
    json currentRow = nullptr;
    if (!state.Command.empty()) {
        currentRow = {{"index", state.RowIndex ? json(*state.RowIndex) : json(nullptr)},
                      {"command", state.Command}};
    }
    return {{"name", record.Name()},
            {"kind", record.DisplayType()},
            {"width", record.Width()},
            {"brightness", record.Brightness()},
            {"connected", status.State == TConnectionState::Connected},
            {"paused", state.Paused},
            {"softwareVersion", VersionOrNull(client)},
            {"currentRow", currentRow},
            {"lastSent", TimeOrNull(state.LastSent)},
            {"lastError", TextOrNull(status.LastError)},
            {"connections", client != nullptr ? client->ConnectionCount() : 0}};
}

TOutcome UnknownSource(const std::string& name) {
    return TOutcome::Refusal(TOutcome::Unknown, SprintF("There is no source \"%s\"", name));
}

std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += text.empty() ? line : "\r\n" + line;
    }
    return text;
}

} // namespace

TOutcome TSessionOperations::Sources() const {
    json sources = json::array();
    for (const TDisplayDataSourceBase* source : FSession.Model().GetDatasources()) {
        sources.push_back(SourceDocument(FSession.Model(), *source));
    }
    return TOutcome::Answer(std::move(sources));
}

TOutcome TSessionOperations::Source(const std::string& name) const {
    const TDisplayDataSourceBase* source = FSession.Model().GetDatasourceFromCache(name);
    return source != nullptr ? TOutcome::Answer(SourceDocument(FSession.Model(), *source))
                             : UnknownSource(name);
}

TOutcome TSessionOperations::SetSourceValue(const std::string& name, const std::vector<std::string>& lines) {
    TDisplayDataSourceBase* source = FSession.Model().GetDatasourceFromCache(name);
    if (source == nullptr) {
        return UnknownSource(name);
    }
    if (source->GetDataSourceType() == DisplayDataSourceType_REST) {
        source->Value.Clear();
        for (const std::string& line : lines) {
            source->Value.Add(line);
        }
        // Published now, not at the next tick.
        FSession.CollectTick();
        return Source(name);
    }
    if (!IsStaticDatasource(source) || !source->PublicChangable()) {
        return TOutcome::Refusal(TOutcome::Refused,
                                 SprintF("The source \"%s\" takes no value from outside: only REST sources "
                                         "and static sources marked changeable do",
                                         name));
    }
    SetStaticValue(FSession.Model(), name, JoinedLines(lines));
    if (!FSession.SaveAll()) {
        return TOutcome::Refusal(TOutcome::Failed,
                                 SprintF("The source \"%s\" has its new value, but the configuration "
                                         "could not be saved; the log says why",
                                         name));
    }
    return Source(name);
}

TOutcome TSessionOperations::Displays() const {
    json displays = json::array();
    for (const TVDisplay& record : FSession.Model().DisplayRecords()) {
        displays.push_back(DisplayDocument(FSession, record));
    }
    return TOutcome::Answer(std::move(displays));
}

TOutcome TSessionOperations::Notify(const std::string& displayName,
                                    std::unique_ptr<TConfigurationRow> message) {
    TRowSendCycle* cycle = FSession.Cycle(displayName);
    if (cycle == nullptr) {
        return TOutcome::Refusal(TOutcome::Unknown, SprintF("There is no display \"%s\"", displayName));
    }
    if (cycle->Paused()) {
        return TOutcome::Refusal(TOutcome::Refused, SprintF("The display \"%s\" is paused", displayName));
    }
    if (!DisplayConnected(FSession.Model().GetDisplayClientFromCache(displayName))) {
        return TOutcome::Refusal(TOutcome::Refused,
                                 SprintF("The display \"%s\" is not connected", displayName));
    }
    if (!cycle->Notify(std::move(message))) {
        return TOutcome::Refusal(TOutcome::Busy,
                                 SprintF("The display \"%s\" has %d notifications waiting already",
                                         displayName, static_cast<int>(TRowSendCycle::MaxNotifications)));
    }
    return TOutcome::Answer({{"display", displayName}, {"waiting", cycle->State().Notifications}},
                            TOutcome::Accepted);
}

std::string TSessionOperations::Metrics() const {
    return MetricsText(FSession);
}
