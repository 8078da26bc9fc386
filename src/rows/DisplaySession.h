#pragma once

#include "log/DLogObject.h"
#include "model/LocalViewModel.h"
#include "platform/Clock.h"
#include "rows/ConfigurationEdits.h"
#include "rows/RowSendCycle.h"
#include "rows/WorkQueue.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A running configuration directory: the model, and one send cycle with its rows per display
// client. Holds the start-up sequence, the collection tick, connecting, pausing and saving that
// every way of running the program shares; the driver calls CollectTick and SendTick every 100 ms
// and, in between, runs what other threads post to its work queue.
class TDisplaySession {
public:
    // `log` receives every log line, possibly from the clients' worker threads.
    TDisplaySession(std::string directory, TDLogMessage log, const TClock& clock = Clock());
    ~TDisplaySession();

    // Loads the configuration (a faulty file throws, and the session stays without cycles), puts
    // every client in push mode and, if the session is connected, starts it, runs the first
    // collection pass and builds one paused send cycle per client with the rows of its rows file.
    // A stop requested meanwhile ends it after the step under way.
    void Start();

    // Loads the configuration directory again and runs it in place of the current one: sources and
    // rows follow the files, displays whose settings did not change keep their connection and
    // the row they show, changed ones connect anew, removed ones stop. A directory that does not
    // load as it is leaves everything running as it was. Logs the outcome; true when reloaded.
    bool Reload();

    // A copy of the configuration running, to be edited and applied.
    TConfigurationDraft Draft() const;
    // Writes `draft` into the directory (every file together: a failure changes none of them and
    // leaves everything running as it was) and runs it in place of the current configuration, as
    // Reload does. The rows file of a display renamed goes, that of a display removed is set
    // aside. Logs the outcome; false, with LastSaveError, when the files could not be written.
    bool Apply(TConfigurationDraft draft);

    // One collection pass; a failure is logged, never thrown. A changed value is sent at once to
    // every display whose row on show has it (TRowSendCycle::ShowChangedValue).
    void CollectTick();
    // How long the latest collection pass took.
    std::chrono::nanoseconds LastPassDuration() const { return FLastPassDuration; }
    // One tick of every send cycle, then the hook set with SetOnTicked.
    void SendTick();
    // Runs on the driver's thread after every SendTick, for whoever reports the displays' state.
    void SetOnTicked(std::function<void()> onTicked) { FOnTicked = std::move(onTicked); }
    // Drives the session without a toolkit until a stop is requested through the work queue: both
    // ticks every 100 ms and, in between, the posted work as soon as it arrives. `afterTick` runs
    // after each pair of ticks.
    void RunTicks(const std::function<void()>& afterTick = {});

    // Starts (true) or suspends every client's worker, and those that Start creates later.
    void SetConnected(bool connected);
    // Pauses or resumes every send cycle.
    void SetPaused(bool paused);
    // Writes both configuration files and every rows file together (a failure changes none of
    // them); logs the outcome.
    bool SaveAll();
    // Why the last SaveAll failed; empty after one that succeeded.
    const std::string& LastSaveError() const { return FLastSaveError; }

    // The one way in for other threads: what they post runs on the driver's thread.
    TWorkQueue& Work() { return FWork; }
    TLocalViewModel& Model() { return FModel; }
    const TLocalViewModel& Model() const { return FModel; }
    // In the model's client order.
    const std::vector<std::unique_ptr<TRowSendCycle>>& Cycles() const { return FCycles; }
    TRowSendCycle* Cycle(const std::string& displayName) const;

    // A line for the session's log, from any thread.
    void Log(const std::string& source, const std::string& message) const;

private:
    void LoadRows(TRowSendCycle& cycle);
    // Runs the records and rows given in place of the current ones.
    void Replace(TBaseObjectList<TVDataSource> sources, TBaseObjectList<TVDisplay> displays,
                 std::map<std::string, TRowSendCycle::TRows>& rows);
    void RetireRowsFiles(const TConfigurationDraft& draft);
    void PrepareClient(TDisplayClientBase& client);
    std::unique_ptr<TRowSendCycle> MakeCycle(const std::string& displayName);
    // One cycle per client of the model after a reload, with the rows read for it; the cycles of
    // the clients kept go on, the new clients are set up as at start.
    void FollowClients(const std::vector<TDisplayClientBase*>& created,
                       std::map<std::string, TRowSendCycle::TRows>& rows);

    const std::string FDirectory;
    const TDLogMessage FLog;
    const TClock& FClock;
    // Before the model: the clients' threads post to it until they are gone.
    TWorkQueue FWork;
    TLocalViewModel FModel;
    std::vector<std::unique_ptr<TRowSendCycle>> FCycles;
    std::chrono::nanoseconds FLastPassDuration{0};
    std::string FLastSaveError;
    // What SetConnected and SetPaused last asked for, for displays that a reload adds.
    bool FConnected = false;
    bool FPaused = true;
    std::function<void()> FOnTicked;
};
