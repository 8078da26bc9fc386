#pragma once

#include "clients/ConnectionStatus.h"
#include "clients/VariableResolver.h"
#include "datasources/DisplayType.h"
#include "log/DLogObject.h"
#include "log/SimpleThread.h"
#include "platform/DateTime.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TDisplayDataSourceBase;
struct TDisplayBase;

// The runtime object that stands for one configured display: its name and type, its connection
// settings text, the current values of the data sources it uses (its variables), a worker thread
// and the configuration strings it is asked to send.
//
// Several threads reach a client: whoever drives the program (the user-interface thread), the
// worker that runs automatic mode, and a display connection's own thread. One lock per client
// guards the variable tables and the settings.
class TDisplayClientBase : public TDLogObject {
public:
    enum TClientMode {
        // The client decides by itself: a changed or due variable makes the worker send a view.
        ClientMode_Automatic = 0,
        // Complete configuration strings are pushed through SendConfigString; the worker only
        // keeps the connection up.
        ClientMode_PushConfigstrings = 1,
    };

    // Key: a data source's name in square brackets; value: that source's current value text.
    using TVariables = std::map<std::string, std::string>;

    // The rotation state of one multi-line variable in automatic mode.
    class TVariableIndexView {
    public:
        TVariableIndexView();

        // The rotation is active and more than Timeout milliseconds have passed since LastTimeout.
        bool IsTimed() const;
        // The current line is taken now.
        void Reset();
        // Enables the rotation and answers the line to show. When the current line has stayed its
        // time, moves on to the next line that differs from it, at most once round the lines.
        const std::string& CurrentLine(const std::vector<std::string>& lines);

        bool TimerEnabled = false;
        // How long one line stays, in milliseconds (a source's refresh interval, any length).
        std::int64_t Timeout = 1000;
        std::size_t LastIndex = 0;
        std::string LastValue;
        TDateTime LastTimeout;
    };

    // The client for a display description; nullptr for a display type without a client.
    // A debug client always starts running, the others as `runningFromStart` says.
    static std::unique_ptr<TDisplayClientBase> CreateClient(const TDisplayBase& displaybase,
                                                            bool runningFromStart);

    ~TDisplayClientBase() override = default;

    // Applies a new configuration string; a running client is suspended meanwhile.
    void Reinitialize(const std::string& configurationstring);
    void Reinitialize(const TDisplayBase& displaybase);

    // Sends a configuration string in push mode; true when the display's connection took it.
    virtual bool SendConfigString(const std::string& configstring);
    // The string with its references replaced as SendConfigString would send it now.
    std::string ResolvedConfigString(const std::string& configstring) {
        return ResolveVariables(configstring);
    }
    // New connection settings text; true when accepted.
    virtual bool SetDisplayConfig(const std::string& baseconfig);
    virtual void ThreadSuspend();
    virtual void ThreadStart();
    // Files the source's value text under its name in square brackets.
    virtual void UpdateVariables(const TDisplayDataSourceBase& datasource);
    virtual bool IsRunning() const;

    const std::string& Name() const { return FName; }
    TDisplayType DisplayType() const { return FDisplayType; }
    std::string SoftwareVersion() const;
    void SetSoftwareVersion(const std::string& version);
    std::string BaseConfiguration() const;
    TClientMode ClientMode() const { return FClientMode.load(); }
    void SetClientMode(TClientMode mode);
    // How many times a connection to the display has been established. A display greeted anew
    // has been cleared, so whoever keeps it showing something watches this number.
    std::uint64_t ConnectionCount() const { return FConnectionCount.load(); }
    // Called on the connection's thread whenever a connection to the display is in use.
    void SetOnConnected(std::function<void()> handler);
    // What the display's connection is doing; any thread may ask, and the parts fit together.
    virtual TConnectionStatus ConnectionStatus() const = 0;
    // Called whenever ConnectionStatus() changes, on the thread that changed it (a connection's
    // own, or the one that started or suspended the client), with no lock of the client held.
    void SetOnConnectionStatusChanged(std::function<void()> handler);

protected:
    // The worker is created idle; the most derived constructor lets it run with StartWorker once
    // the object is complete, and its destructor stops it with StopWorker before anything the
    // worker uses goes away. Its thread is made when it first has work.
    TDisplayClientBase(const std::string& className, TDisplayType displayType, std::string name,
                       bool runningFromStart);
    void StartWorker();
    void StopWorker();

    virtual void ApplyConfiguration(const std::string& configuration);
    virtual bool SendVariables(const TVariables& view);

    // Replaces every reference, a name in square brackets, by its variable's value or by nothing
    // (see TVariableResolver); logs a reference cycle the first time it is met.
    std::string ResolveVariables(const std::string& text);
    // Lists a variable the display follows, with an empty value.
    void SubscribeVariable(const std::string& key);
    std::size_t VariableCount() const;
    void NoteConnectionEstablished() { ++FConnectionCount; }
    void NotifyConnected();
    void NotifyConnectionStatusChanged();
    // Guards the variable tables and whatever connection a subclass keeps. Recursive, because a
    // log handler may call back into the client on the same thread.
    std::recursive_mutex& ClientLock() const { return FLock; }

private:
    void Call(const std::function<void()>& handlerMember) const;
    bool RunCycle();
    // The worker runs only in automatic mode while the client runs; otherwise it sleeps.
    void UpdateWorker();
    bool ResetDue();
    void SendAutomatically();
    TVariables BuildView();
    std::string ViewOf(const std::string& key, const std::string& value);

    mutable std::recursive_mutex FLock;
    std::atomic<TClientMode> FClientMode{ClientMode_Automatic};
    // The user wants the display connected.
    std::atomic<bool> FRunning;
    std::function<void()> FOnConnected;
    std::function<void()> FOnConnectionStatusChanged;
    std::string FBaseConfiguration;
    bool FResetString = false;
    const TDisplayType FDisplayType;
    TVariables FVariables;
    TVariableResolver FResolver;
    std::map<std::string, TVariableIndexView> FVariableTrack;
    std::string FSoftwareVersion = "N/A";
    const std::string FName;
    std::atomic<std::uint64_t> FConnectionCount{0};
    // A failed automatic send is not repeated before this time.
    TDateTime FNextAutomaticSend = 0;
    // Set once the most derived constructor has called StartWorker.
    bool FWorkerMayRun = false;
    TSimpleThread FTXThread;
};
