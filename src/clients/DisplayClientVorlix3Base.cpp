#include "clients/DisplayClientVorlix3Base.h"

#include "platform/Encoding.h"
#include "platform/SprintF.h"

namespace {

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

TDisplayClientVorlix3Base::TDisplayClientVorlix3Base(const std::string& className, TDisplayType displayType,
                                                     std::string name, bool runningFromStart)
    : TDisplayClientBase(className, displayType, std::move(name), runningFromStart), FLink(LinkHandlers()) {}

void TDisplayClientVorlix3Base::StartWorker() {
    TDisplayClientBase::StartWorker();
    FLink.SetWanted(IsRunning());
}

void TDisplayClientVorlix3Base::StopWorker() {
    FLink.Stop();
    TDisplayClientBase::StopWorker();
}

void TDisplayClientVorlix3Base::ThreadSuspend() {
    TDisplayClientBase::ThreadSuspend();
    FLink.SetWanted(false);
}

void TDisplayClientVorlix3Base::ThreadStart() {
    TDisplayClientBase::ThreadStart();
    FLink.SetWanted(true);
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
    const bool written = WriteToDisplay(EncodeAreaLines(lines));
    if (written) {
        TraceSent(lines);
    }
    return written;
}

TConnectionStatus TDisplayClientVorlix3Base::ConnectionStatus() const {
    return FLink.Status();
}

bool TDisplayClientVorlix3Base::WriteToDisplay(const std::string& bytes) {
    return FLink.Send(bytes);
}

void TDisplayClientVorlix3Base::TraceSent(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        if (!line.empty()) {
            LogTraceFmt("Sent to display %s:%s", Name(), line);
        }
    }
}

void TDisplayClientVorlix3Base::SettingsChanged() {
    FLink.SettingsChanged();
}

void TDisplayClientVorlix3Base::LogCreated() {
    LogInfoFmt("Create Vorlix3 %s on port %s, subscribes on %d variables", Name(), BaseConfiguration(),
               VariableCount());
}

TDisplayLink::THandlers TDisplayClientVorlix3Base::LinkHandlers() {
    return {
        .Open = [this](asio::io_context& io, const TLinkPost& post,
                       TOpened done) { OpenConnection(io, post, std::move(done)); },
        .HasTarget = [this] { return HasTarget(); },
        .Greeting = [this] { return Greeting(); },
        .Connected = [this](bool greeted, const std::string& version) { Connected(greeted, version); },
        .Recovered = [this] { LogInfoFmt("Connected to display %s", Name()); },
        .ConnectFailed =
            [this](const std::string&) {
                LogErrorFmt("Could not connect to display %s with settings: %s", Name(), BaseConfiguration());
            },
        .SendFailed = [this](const std::string& error) { LogSendFailure(error); },
        .Lost =
            [this](const std::string& reason) {
                LogErrorFmt("Connection to display %s lost: %s", Name(), reason);
            },
        .StatusChanged = [this] { NotifyConnectionStatusChanged(); },
    };
}

// A reopened connection leaves the version and the connection count as they were: the display
// was not greeted and shows what it showed.
void TDisplayClientVorlix3Base::Connected(bool greeted, const std::string& version) {
    if (greeted) {
        SetSoftwareVersion(DecodeText(version));
        NoteConnectionEstablished();
    }
    NotifyConnected();
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
