#include "rows/DisplaySession.h"

#include "platform/SprintF.h"
#include "rows/RowsFile.h"

#include <chrono>
#include <exception>

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
    // Push mode before the first pass: in automatic mode a client drops every value it does not
    // already list, and a source with a long interval would show nothing until its next refresh.
    for (TDisplayClientBase* client : FModel.GetDisplays()) {
        client->SetOnLogMessage(FLog);
        client->SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    }
    try {
        FModel.CollectData();
    } catch (const std::exception& error) {
        Log("Startup", std::string("Exception during collectdata:") + error.what());
    }
    for (TDisplayClientBase* client : FModel.GetDisplays()) {
        const std::string name = client->Name();
        auto cycle = std::make_unique<TRowSendCycle>(
            name, [this, name] { return FModel.GetDisplay(name); },
            [this, name] { return FModel.GetDisplayClientFromCache(name); }, FClock);
        cycle->SetOnLogMessage(FLog);
        LoadRows(*cycle);
        FCycles.push_back(std::move(cycle));
        // A display that comes up gets its row at once, not at the next tick.
        client->SetOnConnected([this, name] {
            FWork.Post([this, name] {
                if (TRowSendCycle* connected = Cycle(name)) {
                    connected->TimSenddataTimer();
                }
            });
        });
    }
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

void TDisplaySession::RunTicks() {
    auto nextTick = std::chrono::steady_clock::now();
    while (!FWork.StopRequested()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextTick) {
            CollectTick();
            SendTick();
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
    for (TDisplayClientBase* client : FModel.GetDisplays()) {
        if (connected) {
            client->ThreadStart();
        } else {
            client->ThreadSuspend();
        }
    }
}

void TDisplaySession::SetPaused(bool paused) {
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
        return true;
    } catch (const std::exception& error) {
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
