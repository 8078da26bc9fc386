#include "clients/DisplayLink.h"

#include "clients/AsioConnection.h"
#include "clients/ConnectionRetry.h"
#include "platform/Clock.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>

namespace {

using std::chrono::milliseconds;

// The display's answer to the greeting ends with the first pause this long.
constexpr milliseconds VersionPause{100};
// A display that never pauses must not keep the link reading its answer.
constexpr std::size_t MaxVersionLength = 1024;
// A write that makes no progress for this long fails; a long row at 9600 baud still progresses.
constexpr milliseconds WriteStall{2000};
// A connection lost sooner counts as a failed attempt.
constexpr milliseconds StableAfter{1000};

// Lets threads that outlive the link post to it until it stops.
class TMailbox {
public:
    explicit TMailbox(asio::io_context& io) : FIo(&io) {}
    void Post(std::function<void()> work) {
        std::lock_guard lock(FLock);
        if (FIo != nullptr) {
            asio::post(*FIo, std::move(work));
        }
    }
    void Close() {
        std::lock_guard lock(FLock);
        FIo = nullptr;
    }

private:
    std::mutex FLock;
    asio::io_context* FIo;
};

} // namespace

class TDisplayLink::TImpl {
public:
    explicit TImpl(THandlers handlers) : H(std::move(handlers)) {
        FThread = std::thread([this] { FIo.run(); });
    }
    ~TImpl() { Stop(); }

    void Stop() {
        FMailbox->Close();
        FIo.stop();
        if (FThread.joinable()) {
            FThread.join();
        }
    }

    void SetWanted(bool wanted) {
        {
            std::lock_guard lock(FLock);
            FWantedByCaller = wanted;
            if (!wanted) {
                DropOutgoing();
            }
        }
        asio::post(FIo, [this, wanted] { Want(wanted); });
    }

    void SettingsChanged() {
        asio::post(FIo, [this] {
            FReopenQuietly = false;
            AttemptAtOnce();
        });
    }

    bool Send(const std::string& bytes) {
        std::lock_guard lock(FLock);
        if (!FAccepting || FQueued + bytes.size() > OutgoingLimit) {
            return false;
        }
        Queue(bytes);
        return true;
    }

    // A suspend shows at once, before the link's thread has closed the connection.
    TConnectionStatus Status() {
        std::lock_guard lock(FLock);
        TConnectionStatus status = FPublished;
        if (!FWantedByCaller) {
            status.State = TConnectionState::Off;
            status.ConnectedSince.reset();
        }
        return status;
    }

private:
    enum class TPhase { Idle, Waiting, Opening, Greeting, Connected };

    static TConnectionState StateOf(TPhase phase) {
        switch (phase) {
        case TPhase::Waiting:
            return TConnectionState::Retrying;
        case TPhase::Opening:
        case TPhase::Greeting:
            return TConnectionState::Connecting;
        case TPhase::Connected:
            return TConnectionState::Connected;
        case TPhase::Idle:
            break;
        }
        // Idle once a handler is done: not wanted, or the settings name no display.
        return TConnectionState::Off;
    }

    // Everything below runs on the link's thread.

    void Want(bool wanted) {
        FWanted = wanted;
        if (wanted) {
            AttemptAtOnce();
            return;
        }
        FReopenQuietly = FReopenQuietly || FPhase == TPhase::Connected;
        CloseConnection();
    }

    void AttemptAtOnce() {
        FRetry.Reset();
        if (FPhase == TPhase::Waiting) {
            FRetryTimer.cancel();
            SetPhase(TPhase::Idle);
        }
        TryConnect();
    }

    void SetPhase(TPhase phase) {
        FPhase = phase;
        PublishLater();
    }

    void SetLastError(const std::string& error) {
        FLastError = error;
        PublishLater();
    }

    // Publishes once the handler under way is done, so that the steps it goes through (closed,
    // then waiting, say) are never seen.
    void PublishLater() {
        if (!FPublishPosted) {
            FPublishPosted = true;
            asio::post(FIo, [this] { Publish(); });
        }
    }

    void Publish() {
        FPublishPosted = false;
        TConnectionStatus status{StateOf(FPhase), FLastError, std::nullopt};
        if (FPhase == TPhase::Connected) {
            status.ConnectedSince = FConnectedAt;
        }
        {
            std::lock_guard lock(FLock);
            if (status == FPublished) {
                return;
            }
            FPublished = std::move(status);
        }
        H.StatusChanged();
    }

    void TryConnect() {
        if (!FWanted || FPhase != TPhase::Idle || !H.HasTarget()) {
            return;
        }
        const std::int64_t wait = FRetry.MsecUntilAttempt();
        if (wait > 0) {
            SetPhase(TPhase::Waiting);
            FRetryTimer.expires_after(milliseconds(wait));
            FRetryTimer.async_wait([this](const asio::error_code& error) {
                if (!error && FPhase == TPhase::Waiting) {
                    SetPhase(TPhase::Idle);
                    TryConnect();
                }
            });
            return;
        }
        SetPhase(TPhase::Opening);
        const std::uint64_t attempt = ++FAttempt;
        const auto mailbox = FMailbox;
        try {
            H.Open(
                FIo, [mailbox](std::function<void()> work) { mailbox->Post(std::move(work)); },
                [this, attempt](std::unique_ptr<TDisplayConnection> connection, const std::string& error) {
                    Opened(attempt, std::move(connection), error);
                });
        } catch (const std::exception& error) {
            Opened(attempt, nullptr, error.what());
        }
    }

    void Opened(std::uint64_t attempt, std::unique_ptr<TDisplayConnection> connection,
                const std::string& error) {
        if (attempt != FAttempt || FPhase != TPhase::Opening) {
            return;
        }
        if (!connection) {
            SetPhase(TPhase::Idle);
            Failed(error);
            return;
        }
        FConnection = std::move(connection);
        ++FConnectionId;
        FVersion.clear();
        WatchConnection();
        if (FReopenQuietly) {
            Install(false);
            return;
        }
        SetPhase(TPhase::Greeting);
        const std::string greeting = H.Greeting();
        {
            std::lock_guard lock(FLock);
            Queue(greeting);
        }
        ArmVersionTimer();
    }

    void ArmVersionTimer() {
        FVersionTimer.expires_after(VersionPause);
        FVersionTimer.async_wait([this, id = FConnectionId](const asio::error_code& error) {
            if (!error && id == FConnectionId && FPhase == TPhase::Greeting) {
                Install(true);
            }
        });
    }

    void Install(bool greeted) {
        FConnectedAt = Now();
        SetPhase(TPhase::Connected);
        FReopenQuietly = false;
        FStable = false;
        FVersionTimer.cancel();
        {
            std::lock_guard lock(FLock);
            FAccepting = true;
        }
        FStableTimer.expires_after(StableAfter);
        FStableTimer.async_wait([this, id = FConnectionId](const asio::error_code& error) {
            if (!error && id == FConnectionId) {
                FStable = true;
                FLossLogged = false;
                SetLastError({});
                if (FRetry.Succeeded()) {
                    H.Recovered();
                }
            }
        });
        H.Connected(greeted, FVersion);
    }

    // A pending read notices a peer that closes; what the display sends beyond its answer to the
    // greeting is of no use.
    void WatchConnection() {
        FConnection->ReadSome(FReadBuffer, sizeof FReadBuffer,
                              [this, id = FConnectionId](const std::string& error, std::size_t count) {
                                  if (id != FConnectionId) {
                                      return;
                                  }
                                  if (!error.empty()) {
                                      Lost(error);
                                      return;
                                  }
                                  if (FPhase == TPhase::Greeting) {
                                      FVersion.append(FReadBuffer, count);
                                      if (FVersion.size() >= MaxVersionLength) {
                                          FVersion.resize(MaxVersionLength);
                                          Install(true);
                                      } else {
                                          ArmVersionTimer();
                                      }
                                  }
                                  WatchConnection();
                              });
    }

    // Called with FLock held. FWriteScheduled: a WriteNext is posted or a write is under way, and
    // either takes up what is queued.
    void Queue(const std::string& bytes) {
        FOutgoing += bytes;
        FQueued += bytes.size();
        if (!FWriteScheduled) {
            FWriteScheduled = true;
            asio::post(FIo, [this] { WriteNext(); });
        }
    }

    // Called with FLock held.
    void DropOutgoing() {
        FAccepting = false;
        FOutgoing.clear();
        FQueued = 0;
    }

    // Several calls may be under way at once (one posted for a connection that has since been
    // replaced, say); only one write is ever in flight.
    void WriteNext() {
        if (FWriteInFlight) {
            return;
        }
        if (!FConnection) {
            std::lock_guard lock(FLock);
            FWriteScheduled = false;
            return;
        }
        if (FWritten == FWriting.size()) {
            std::lock_guard lock(FLock);
            FWriting.clear();
            FWritten = 0;
            if (FOutgoing.empty()) {
                FWriteScheduled = false;
                FWriteTimer.cancel();
                return;
            }
            FWriting.swap(FOutgoing);
        }
        ArmWriteTimer();
        FWriteInFlight = true;
        FConnection->WriteSome(FWriting.data() + FWritten, FWriting.size() - FWritten,
                               [this, id = FConnectionId](const std::string& error, std::size_t count) {
                                   if (id != FConnectionId) {
                                       return;
                                   }
                                   FWriteInFlight = false;
                                   if (!error.empty()) {
                                       WriteFailed(error);
                                       return;
                                   }
                                   FWritten += count;
                                   {
                                       std::lock_guard lock(FLock);
                                       // A suspend may have dropped the count meanwhile.
                                       FQueued -= std::min(FQueued, count);
                                   }
                                   WriteNext();
                               });
    }

    void ArmWriteTimer() {
        FWriteTimer.expires_after(WriteStall);
        FWriteTimer.async_wait([this, id = FConnectionId](const asio::error_code& error) {
            if (!error && id == FConnectionId) {
                WriteFailed("No progress for 2 s");
            }
        });
    }

    void WriteFailed(const std::string& error) {
        const bool greeting = FPhase != TPhase::Connected;
        const std::string failure = "Sending failed: " + error;
        CloseConnection();
        if (greeting) {
            Failed(failure);
            return;
        }
        SetLastError(failure);
        H.SendFailed(error);
        FRetry.Failed(failure);
        FReopenQuietly = false;
        TryConnect();
    }

    void Lost(const std::string& reason) {
        const bool stable = FStable;
        CloseConnection();
        FReopenQuietly = false;
        SetLastError("Connection lost: " + reason);
        if (!FLossLogged) {
            FLossLogged = true;
            H.Lost(reason);
        }
        if (!stable) {
            FRetry.Failed(reason);
        }
        TryConnect();
    }

    void Failed(const std::string& error) {
        FReopenQuietly = false;
        SetLastError(error);
        if (FRetry.Failed(error)) {
            H.ConnectFailed(error);
        }
        TryConnect();
    }

    // Whatever was under way ends; the completions still to come find another connection id.
    void CloseConnection() {
        if (FConnection) {
            FConnection->Close();
            FConnection.reset();
        }
        ++FConnectionId;
        ++FAttempt;
        SetPhase(TPhase::Idle);
        FRetryTimer.cancel();
        FVersionTimer.cancel();
        FWriteTimer.cancel();
        FStableTimer.cancel();
        FWriting.clear();
        FWritten = 0;
        FWriteInFlight = false;
        std::lock_guard lock(FLock);
        DropOutgoing();
        FWriteScheduled = false;
    }

    const THandlers H;
    asio::io_context FIo;
    asio::executor_work_guard<asio::io_context::executor_type> FWork = asio::make_work_guard(FIo);
    const std::shared_ptr<TMailbox> FMailbox = std::make_shared<TMailbox>(FIo);
    asio::steady_timer FRetryTimer{FIo};
    asio::steady_timer FVersionTimer{FIo};
    asio::steady_timer FWriteTimer{FIo};
    asio::steady_timer FStableTimer{FIo};

    // The link's thread only.
    TPhase FPhase = TPhase::Idle;
    bool FWanted = false;
    bool FReopenQuietly = false;
    bool FStable = false;
    bool FLossLogged = false;
    bool FPublishPosted = false;
    std::string FLastError;
    TDateTime FConnectedAt = 0;
    TConnectionRetry FRetry;
    std::unique_ptr<TDisplayConnection> FConnection;
    std::uint64_t FConnectionId = 0;
    std::uint64_t FAttempt = 0;
    std::string FVersion;
    char FReadBuffer[256] = {};
    std::string FWriting;
    std::size_t FWritten = 0;
    bool FWriteInFlight = false;

    // Shared with the senders.
    std::mutex FLock;
    bool FAccepting = false;
    std::string FOutgoing;
    std::size_t FQueued = 0;
    bool FWriteScheduled = false;
    bool FWantedByCaller = false;
    TConnectionStatus FPublished;

    std::thread FThread;
};

TDisplayLink::TDisplayLink(THandlers handlers) : FImpl(std::make_unique<TImpl>(std::move(handlers))) {}

TDisplayLink::~TDisplayLink() = default;

void TDisplayLink::Stop() {
    FImpl->Stop();
}

void TDisplayLink::SetWanted(bool wanted) {
    FImpl->SetWanted(wanted);
}

void TDisplayLink::SettingsChanged() {
    FImpl->SettingsChanged();
}

bool TDisplayLink::Send(const std::string& bytes) {
    return FImpl->Send(bytes);
}

TConnectionStatus TDisplayLink::Status() const {
    return FImpl->Status();
}
