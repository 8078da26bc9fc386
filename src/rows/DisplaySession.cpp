#include "rows/DisplaySession.h"

#include "config/ConfigurationFiles.h"
#include "platform/SprintF.h"
#include "platform/TextFileSet.h"
#include "rows/ConfigurationLoad.h"
#include "rows/RowsFile.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>

namespace {

constexpr auto TickInterval = std::chrono::milliseconds(100);

} // namespace

TDisplaySession::TDisplaySession(std::string directory, TDLogMessage log, const TClock& clock)
    : FDirectory(std::move(directory)), FLog(std::move(log)), FClock(clock),
      FWork([this](const std::exception& failure) { Log("Main", failure.what()); }) {}

// The cycles use the model's clients; they go first.
TDisplaySession::~TDisplaySession() {
    FCycles.clear();
}

void TDisplaySession::Start() {
    FModel.SetOnLogMessage(FLog);
    FModel.SetOnValueChanged([this](const TDisplayDataSourceBase& source) {
        for (const auto& cycle : FCycles) {
            cycle->ShowChangedValue(source.Name());
        }
    });
    FModel.LoadFromDictionary(FDirectory);
    if (FWork.StopRequested()) {
        return;
    }
    // Push mode before the first pass: in automatic mode a client drops every value it does not
    // already list, and a source with a long interval would show nothing until its next refresh.
    // Connecting starts at once, so that the display's answer to the greeting is awaited while the
    // rest loads.
    for (TDisplayClientBase* client : FModel.GetDisplays()) {
        PrepareClient(*client);
        if (FConnected) {
            client->ThreadStart();
        }
    }
    try {
        FModel.CollectData();
    } catch (const std::exception& error) {
        Log("Startup", std::string("Exception during collectdata:") + error.what());
    }
    if (FWork.StopRequested()) {
        return;
    }
    for (TDisplayClientBase* client : FModel.GetDisplays()) {
        auto cycle = MakeCycle(client->Name());
        LoadRows(*cycle);
        FCycles.push_back(std::move(cycle));
    }
}

void TDisplaySession::PrepareClient(TDisplayClientBase& client) {
    client.SetOnLogMessage(FLog);
    client.SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    // A display that comes up gets its row at once, not at the next tick.
    client.SetOnConnected([this, name = client.Name()] {
        FWork.Post([this, name] {
            if (TRowSendCycle* connected = Cycle(name)) {
                connected->TimSenddataTimer();
            }
        });
    });
}

std::unique_ptr<TRowSendCycle> TDisplaySession::MakeCycle(const std::string& displayName) {
    auto cycle = std::make_unique<TRowSendCycle>(
        displayName, [this, displayName] { return FModel.GetDisplay(displayName); },
        [this, displayName] { return FModel.GetDisplayClientFromCache(displayName); }, FClock);
    cycle->SetOnLogMessage(FLog);
    cycle->SetPause(FPaused);
    return cycle;
}

bool TDisplaySession::Reload() {
    TLoadedConfiguration loaded = LoadConfiguration(FDirectory);
    if (!loaded.Problems.empty()) {
        for (const TConfigurationProblem& problem : loaded.Problems) {
            Log("Main", FormatLogText(LogType_Error, ProblemLine(problem)));
        }
        Log("Main",
            FormatLogText(LogType_Error,
                          SprintF("Configuration in \"%s\" not reloaded; it runs on as it was", FDirectory)));
        return false;
    }
    Replace(std::move(loaded.Sources), std::move(loaded.Displays), loaded.Rows);
    Log("Main", SprintF("Reloaded configuration from \"%s\"", FDirectory));
    return true;
}

void TDisplaySession::Replace(TBaseObjectList<TVDataSource> sources, TBaseObjectList<TVDisplay> displays,
                              std::map<std::string, TRowSendCycle::TRows>& rows) {
    FollowClients(FModel.ReplaceConfiguration(std::move(sources), std::move(displays)), rows);
}

TConfigurationDraft TDisplaySession::Draft() const {
    TConfigurationDraft draft;
    draft.Sources = CopyRecords(FModel.DataSourceRecords());
    draft.Displays = CopyRecords(FModel.DisplayRecords());
    for (const auto& cycle : FCycles) {
        draft.Rows[cycle->Name()] = CopyRows(cycle->Rows());
    }
    return draft;
}

bool TDisplaySession::Apply(TConfigurationDraft draft) {
    try {
        TTextFileSet files;
        StageListFile(files, DataSourcesFilePath(FDirectory), draft.Sources);
        StageListFile(files, DisplaysFilePath(FDirectory), draft.Displays);
        for (const TVDisplay& display : draft.Displays) {
            StageRowsFile(files, RowsFilePath(FDirectory, display.Name()), draft.Rows[display.Name()]);
        }
        files.Commit();
    } catch (const std::exception& error) {
        FLastSaveError = error.what();
        Log("Main", std::string("Error while saving current model:") + error.what());
        return false;
    }
    FLastSaveError.clear();
    RetireRowsFiles(draft);
    Replace(std::move(draft.Sources), std::move(draft.Displays), draft.Rows);
    Log("Main", SprintF("Saved data to directory \"%s\"", FDirectory));
    // The new sources exist, and show their values, at once.
    CollectTick();
    return true;
}

// Only files of displays that the draft no longer has: a name taken up again keeps its new file.
void TDisplaySession::RetireRowsFiles(const TConfigurationDraft& draft) {
    for (const TVDisplay& display : FModel.DisplayRecords()) {
        const std::string& name = display.Name();
        if (RecordPlace(draft.Displays, name)) {
            continue;
        }
        const std::filesystem::path file = RowsFilePath(FDirectory, name);
        std::error_code error;
        if (draft.RenamedDisplays.contains(name)) {
            std::filesystem::remove(file, error);
        } else if (std::filesystem::exists(file, error)) {
            std::filesystem::rename(file, SetAsidePath(file), error);
        }
        if (error) {
            Log("Main", FormatLogText(LogType_Warning, SprintF("%s: %s", file.string(), error.message())));
        }
    }
}

void TDisplaySession::FollowClients(const std::vector<TDisplayClientBase*>& created,
                                    std::map<std::string, TRowSendCycle::TRows>& rows) {
    std::vector<std::unique_ptr<TRowSendCycle>> cycles;
    for (TDisplayClientBase* client : FModel.GetDisplays()) {
        const bool isNew = std::ranges::find(created, client) != created.end();
        if (isNew) {
            PrepareClient(*client);
            if (FConnected) {
                client->ThreadStart();
            }
        }
        const auto kept = std::ranges::find_if(
            FCycles, [&](const auto& cycle) { return cycle && cycle->Name() == client->Name(); });
        // A new client's display is greeted anew, so it gets a cycle that starts from the first row.
        auto cycle = !isNew && kept != FCycles.end() ? std::move(*kept) : MakeCycle(client->Name());
        cycle->ReplaceRows(std::move(rows[client->Name()]));
        cycle->RefreshGaugeScale();
        cycles.push_back(std::move(cycle));
    }
    FCycles = std::move(cycles);
}

void TDisplaySession::LoadRows(TRowSendCycle& cycle) {
    try {
        cycle.ReplaceRows(ReadRowsFile(RowsFilePath(FDirectory, cycle.Name())));
        cycle.RefreshGaugeScale();
    } catch (const std::exception& error) {
        Log(cycle.Name(), error.what());
    }
}

void TDisplaySession::CollectTick() {
    const auto start = std::chrono::steady_clock::now();
    try {
        FModel.CollectData();
    } catch (const std::exception& error) {
        Log("Datasources", std::string("Error while collecting data:") + error.what());
    }
    FLastPassDuration = std::chrono::steady_clock::now() - start;
}

void TDisplaySession::SendTick() {
    for (const auto& cycle : FCycles) {
        try {
            cycle->TimSenddataTimer();
        } catch (const std::exception& error) {
            Log(cycle->Name(), error.what());
        }
    }
    if (FOnTicked) {
        try {
            FOnTicked();
        } catch (const std::exception& error) {
            Log("Main", error.what());
        }
    }
}

void TDisplaySession::RunTicks(const std::function<void()>& afterTick) {
    auto nextTick = std::chrono::steady_clock::now();
    while (!FWork.StopRequested()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextTick) {
            CollectTick();
            SendTick();
            if (afterTick) {
                afterTick();
            }
            // A late tick is not caught up with a burst: the next one is a whole interval away.
            nextTick += TickInterval;
            if (nextTick <= now) {
                nextTick = now + TickInterval;
            }
        }
        FWork.WaitUntil(nextTick);
        FWork.RunPending();
    }
}

void TDisplaySession::SetConnected(bool connected) {
    FConnected = connected;
    for (TDisplayClientBase* client : FModel.GetDisplays()) {
        if (connected) {
            client->ThreadStart();
        } else {
            client->ThreadSuspend();
        }
    }
}

void TDisplaySession::SetPaused(bool paused) {
    FPaused = paused;
    for (const auto& cycle : FCycles) {
        cycle->SetPause(paused);
    }
}

bool TDisplaySession::SaveAll() {
    try {
        // One set, so that a file that cannot be written leaves every file as it was.
        TTextFileSet files;
        FModel.SaveToDictionary(FDirectory, files);
        for (const auto& cycle : FCycles) {
            StageRowsFile(files, RowsFilePath(FDirectory, cycle->Name()), cycle->Rows());
        }
        files.Commit();
        Log("Main", SprintF("Saved data to directory \"%s\"", FDirectory));
        FLastSaveError.clear();
        return true;
    } catch (const std::exception& error) {
        FLastSaveError = error.what();
        Log("Main", std::string("Error while saving current model:") + error.what());
        return false;
    }
}

TRowSendCycle* TDisplaySession::Cycle(const std::string& displayName) const {
    for (const auto& cycle : FCycles) {
        if (cycle->Name() == displayName) {
            return cycle.get();
        }
    }
    return nullptr;
}

void TDisplaySession::Log(const std::string& source, const std::string& message) const {
    if (FLog) {
        FLog(source, message);
    }
}
