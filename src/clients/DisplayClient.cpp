#include "clients/DisplayClient.h"

#include "datasources/DisplayBase.h"
#include "datasources/DisplayDataSourceBase.h"
#include "datasources/ValueList.h"
#include "platform/Clock.h"

namespace {

constexpr std::int64_t FailedSendPauseMsec = 1000;

} // namespace

TDisplayClientBase::TVariableIndexView::TVariableIndexView() : LastTimeout(Now()) {}

bool TDisplayClientBase::TVariableIndexView::IsTimed() const {
    return TimerEnabled && MillisecondsBetween(Now(), LastTimeout) > Timeout;
}

void TDisplayClientBase::TVariableIndexView::Reset() {
    LastTimeout = Now();
}

const std::string&
TDisplayClientBase::TVariableIndexView::CurrentLine(const std::vector<std::string>& lines) {
    TimerEnabled = true;
    if (LastIndex >= lines.size()) {
        LastIndex = 0;
    }
    if (IsTimed()) {
        for (std::size_t step = 0; step < lines.size() && lines[LastIndex] == LastValue; ++step) {
            LastIndex = (LastIndex + 1) % lines.size();
        }
        Reset();
    }
    LastValue = lines[LastIndex];
    return LastValue;
}

// A client that runs from the start wants its display connected, as after ThreadStart.
TDisplayClientBase::TDisplayClientBase(const std::string& className, TDisplayType displayType,
                                       std::string name, bool runningFromStart)
    : TDLogObject(className), FRunning(runningFromStart), FDisplayType(displayType), FName(std::move(name)),
      FTXThread([this] { return RunCycle(); }) {
    UpdateWorker();
}

void TDisplayClientBase::StartWorker() {
    FWorkerMayRun = true;
    UpdateWorker();
}

void TDisplayClientBase::StopWorker() {
    {
        std::lock_guard lock(FLock);
        FWorkerMayRun = false;
    }
    FTXThread.Terminate();
    FTXThread.WaitFor();
}

void TDisplayClientBase::Reinitialize(const std::string& configurationstring) {
    const bool wasRunning = IsRunning();
    ThreadSuspend();
    ApplyConfiguration(configurationstring);
    if (wasRunning) {
        ThreadStart();
    }
}

void TDisplayClientBase::Reinitialize(const TDisplayBase& displaybase) {
    Reinitialize(displaybase.ConfigurationString);
}

bool TDisplayClientBase::SendConfigString(const std::string&) {
    LogWarningFmt("Displaytype %s has not overriden sendconfigstring", DisplayTypeName(FDisplayType));
    return true;
}

bool TDisplayClientBase::SetDisplayConfig(const std::string& baseconfig) {
    std::lock_guard lock(FLock);
    FBaseConfiguration = baseconfig;
    return true;
}

void TDisplayClientBase::ThreadSuspend() {
    FRunning.store(false);
    UpdateWorker();
}

void TDisplayClientBase::ThreadStart() {
    FRunning.store(true);
    UpdateWorker();
}

bool TDisplayClientBase::IsRunning() const {
    return FRunning.load();
}

void TDisplayClientBase::SetClientMode(TClientMode mode) {
    FClientMode.store(mode);
    UpdateWorker();
}

void TDisplayClientBase::SetOnConnected(std::function<void()> handler) {
    std::lock_guard lock(FLock);
    FOnConnected = std::move(handler);
}

void TDisplayClientBase::SetOnConnectionStatusChanged(std::function<void()> handler) {
    std::lock_guard lock(FLock);
    FOnConnectionStatusChanged = std::move(handler);
}

void TDisplayClientBase::NotifyConnected() {
    Call(FOnConnected);
}

void TDisplayClientBase::NotifyConnectionStatusChanged() {
    Call(FOnConnectionStatusChanged);
}

// A copy is called, without the lock: the handler may take locks of its own.
void TDisplayClientBase::Call(const std::function<void()>& handlerMember) const {
    std::function<void()> handler;
    {
        std::lock_guard lock(FLock);
        handler = handlerMember;
    }
    if (handler) {
        handler();
    }
}

// The thread is made the first time it has work: a client in push mode never needs it.
void TDisplayClientBase::UpdateWorker() {
    std::lock_guard lock(FLock);
    const bool works = FRunning.load() && ClientMode() == ClientMode_Automatic;
    FTXThread.SetSuspendedLight(!works);
    if (works && FWorkerMayRun) {
        FTXThread.Start();
    }
}

void TDisplayClientBase::UpdateVariables(const TDisplayDataSourceBase& datasource) {
    const std::string key = "[" + datasource.Name() + "]";
    const std::string value = datasource.Value.Text();
    std::lock_guard lock(FLock);
    if (ClientMode() == ClientMode_PushConfigstrings) {
        FVariables[key] = value;
        return;
    }
    const auto variable = FVariables.find(key);
    if (variable == FVariables.end() || variable->second == value) {
        return;
    }
    variable->second = value;
    if (!FVariableTrack.contains(key)) {
        FVariableTrack[key].Timeout = datasource.TimeoutMsec();
    }
    FResetString = true;
}

std::string TDisplayClientBase::SoftwareVersion() const {
    std::lock_guard lock(FLock);
    return FSoftwareVersion;
}

void TDisplayClientBase::SetSoftwareVersion(const std::string& version) {
    std::lock_guard lock(FLock);
    FSoftwareVersion = version;
}

std::string TDisplayClientBase::BaseConfiguration() const {
    std::lock_guard lock(FLock);
    return FBaseConfiguration;
}

void TDisplayClientBase::ApplyConfiguration(const std::string&) {
    std::lock_guard lock(FLock);
    FResetString = true;
}

bool TDisplayClientBase::SendVariables(const TVariables&) {
    LogWarningFmt("Displaytype %s has not overriden sendconfigstring", DisplayTypeName(FDisplayType));
    return true;
}

std::string TDisplayClientBase::ResolveVariables(const std::string& text) {
    std::lock_guard lock(FLock);
    return FResolver.Resolve(text, FVariables, [this](const std::string& reference) {
        LogErrorFmt("Reference cycle in %s", reference);
    });
}

void TDisplayClientBase::SubscribeVariable(const std::string& key) {
    std::lock_guard lock(FLock);
    FVariables[key].clear();
}

std::size_t TDisplayClientBase::VariableCount() const {
    std::lock_guard lock(FLock);
    return FVariables.size();
}

bool TDisplayClientBase::RunCycle() {
    if (ResetDue()) {
        SendAutomatically();
    }
    return true;
}

bool TDisplayClientBase::ResetDue() {
    std::lock_guard lock(FLock);
    for (const auto& [key, view] : FVariableTrack) {
        if (view.IsTimed()) {
            FResetString = true;
            break;
        }
    }
    return FResetString;
}

// The lock is held from building the view to clearing the flag, so a value that arrives meanwhile
// is not lost.
void TDisplayClientBase::SendAutomatically() {
    std::lock_guard lock(FLock);
    if (Now() < FNextAutomaticSend) {
        return;
    }
    if (SendVariables(BuildView())) {
        FResetString = false;
    } else {
        FNextAutomaticSend = MSecsToDateTime(DateTimeToMSecs(Now()) + FailedSendPauseMsec);
    }
}

TDisplayClientBase::TVariables TDisplayClientBase::BuildView() {
    TVariables view;
    for (const auto& [key, value] : FVariables) {
        view[key] = ViewOf(key, value);
    }
    return view;
}

// A multi-line value shows one line at a time; any other value shows its lines joined with commas.
std::string TDisplayClientBase::ViewOf(const std::string& key, const std::string& value) {
    TValueList lines;
    lines.SetStrictDelimiter(true);
    lines.SetText(value);
    const auto track = FVariableTrack.find(key);
    if (track == FVariableTrack.end()) {
        return lines.DelimitedText();
    }
    if (lines.Count() > 1) {
        return track->second.CurrentLine(lines.Lines());
    }
    track->second.TimerEnabled = false;
    return lines.DelimitedText();
}
