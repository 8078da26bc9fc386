#include "clients/DisplayClientVorlix3Base.h"

#include "platform/Encoding.h"
#include "platform/SprintF.h"

#include <exception>

namespace {

using std::chrono::milliseconds;

// The display's answer to the greeting ends with the first pause this long.
constexpr milliseconds VersionPause{100};
// A display that never pauses must not keep the worker reading.
constexpr std::size_t MaxVersionLength = 1024;

// Removes blanks and control characters at both ends.
std::string Trimmed(const std::string& text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

} // namespace

void TDisplayClientVorlix3Base::ThreadSuspend() {
    TDisplayClientBase::ThreadSuspend();
    std::lock_guard lock(ClientLock());
    FReopenQuietly = FReopenQuietly || FConnection;
    FConnection.reset();
}

void TDisplayClientVorlix3Base::ThreadStart() {
    {
        std::lock_guard lock(ClientLock());
        FRetry.Reset();
    }
    TDisplayClientBase::ThreadStart();
}

void TDisplayClientVorlix3Base::ApplyConfiguration(const std::string& configuration) {
    {
        std::lock_guard lock(ClientLock());
        FVorlix3.Reinitialize(configuration);
        for (const auto& part : FVorlix3.DisplayParts()) {
            if (part.State() != 0) {
                for (const auto& name : part.DisplayVariables()) {
                    SubscribeVariable(name);
                }
            }
        }
    }
    TDisplayClientBase::ApplyConfiguration(configuration);
}

// Every area in use goes out as one line that carries the area's selector twice: once in front
// and once at the start of its raw form.
bool TDisplayClientVorlix3Base::SendVariables(const TVariables&) {
    if (ClientMode() != ClientMode_Automatic) {
        return false;
    }
    const std::vector<std::string> lines = AreaLines();
    const bool written = WriteToDisplay(EncodeAreaLines(lines), [this](const std::string& error) {
        LogErrorFmt("Error while writing to %s for display %s:%s", LinkName(), Name(), error);
    });
    if (written) {
        TraceSent(lines);
    }
    return written;
}

void TDisplayClientVorlix3Base::CheckConnection() {
    ReleaseDroppedConnection();
    if (ConnectDue()) {
        Connect();
    }
}

bool TDisplayClientVorlix3Base::WriteToDisplay(const std::string& bytes,
                                               const TReportFailure& reportFailure) {
    std::lock_guard lock(ClientLock());
    if (!FConnection || !FConnection->IsConnected()) {
        return false;
    }
    try {
        FConnection->Write(bytes);
        return true;
    } catch (const std::exception& error) {
        reportFailure(error.what());
        FConnection.reset();
        return false;
    }
}

void TDisplayClientVorlix3Base::TraceSent(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        if (!line.empty()) {
            LogTraceFmt("Sent to display %s:%s", Name(), line);
        }
    }
}

void TDisplayClientVorlix3Base::SettingsChanged() {
    std::lock_guard lock(ClientLock());
    FRetry.Reset();
    FReopenQuietly = false;
}

void TDisplayClientVorlix3Base::LogCreated() {
    LogInfoFmt("Create Vorlix3 %s on port %s, subscribes on %d variables", Name(), BaseConfiguration(),
               VariableCount());
}

// A connection being made is of no use once the user no longer wants the display connected.
bool TDisplayClientVorlix3Base::AttemptAbandoned() const {
    return !SoftConnected() || WorkerTerminated();
}

// A dropped connection is released here, so that the next check replaces it and greets anew.
void TDisplayClientVorlix3Base::ReleaseDroppedConnection() {
    std::lock_guard lock(ClientLock());
    if (FConnection && !FConnection->IsConnected()) {
        FConnection.reset();
    }
}

bool TDisplayClientVorlix3Base::ConnectDue() {
    std::lock_guard lock(ClientLock());
    return SoftConnected() && !FConnection && HasTarget() && FRetry.AttemptDue();
}

// Runs without the client's lock: opening, greeting and reading the answer may take a while.
// An attempt given up stays given up, even when the user starts the client again before the
// failure is handled: that is no connection failure to report.
void TDisplayClientVorlix3Base::Connect() {
    bool givenUp = false;
    bool greet = true;
    {
        std::lock_guard lock(ClientLock());
        greet = !FReopenQuietly;
    }
    try {
        auto connection =
            OpenConnection([this, &givenUp] { return givenUp = givenUp || AttemptAbandoned(); });
        std::string version;
        if (greet) {
            connection->Write(Greeting());
            version = ReadSoftwareVersion(*connection);
        }
        Install(std::move(connection), greet, version);
    } catch (const std::exception&) {
        if (!givenUp) {
            ConnectFailed();
        }
    }
}

// Whatever the display answers up to its first pause.
std::string TDisplayClientVorlix3Base::ReadSoftwareVersion(TDisplayConnection& connection) const {
    std::string answer;
    while (answer.size() < MaxVersionLength && !AttemptAbandoned()) {
        const auto byte = connection.ReadByte(VersionPause);
        if (!byte) {
            break;
        }
        answer += *byte;
    }
    return DecodeText(answer);
}

// A reopened connection leaves the version and the connection count as they were: the display
// was not greeted and shows what it showed.
void TDisplayClientVorlix3Base::Install(std::unique_ptr<TDisplayConnection> connection, bool greeted,
                                        const std::string& version) {
    std::lock_guard lock(ClientLock());
    if (AttemptAbandoned()) {
        return;
    }
    FConnection = std::move(connection);
    FReopenQuietly = false;
    if (greeted) {
        SetSoftwareVersion(version);
        NoteConnectionEstablished();
    }
    if (FRetry.Succeeded()) {
        LogInfoFmt("Connected to display %s", Name());
    }
}

void TDisplayClientVorlix3Base::ConnectFailed() {
    std::lock_guard lock(ClientLock());
    if (AttemptAbandoned()) {
        return;
    }
    // The display may have been switched off meanwhile: the next connection greets it.
    FReopenQuietly = false;
    const std::string message =
        SprintF("Could not connect to display %s with settings: %s", Name(), BaseConfiguration());
    if (FRetry.Failed(message)) {
        LogError(message);
    }
}

std::vector<std::string> TDisplayClientVorlix3Base::AreaLines() const {
    std::lock_guard lock(ClientLock());
    std::vector<std::string> lines;
    for (const auto& part : FVorlix3.DisplayParts()) {
        if (part.State() == 0) {
            continue;
        }
        const std::string raw = Trimmed(part.GetConfiguration(TVorlix3Configuration::vcRaw));
        if (!raw.empty()) {
            lines.push_back(SprintF("-sc%d %s", part.DisplayIndex(), raw));
        }
    }
    return lines;
}
