#include "integration/MqttLink.h"

#include "platform/SprintF.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <cstdint>
#include <exception>

namespace {

using namespace std::chrono_literals;

// Even with nothing to do the client is served this often, for its keep-alive.
constexpr auto LongestWait = 1000ms;

} // namespace

TMqttLink::TMqttLink(TMqttOptions options, std::vector<std::string> subscriptions, TMessageHandler onMessage,
                     TDLogMessage log)
    : FOptions(std::move(options)), FTopics(FOptions.Prefix), FSubscriptions(std::move(subscriptions)),
      FOnMessage(std::move(onMessage)), FLog(std::move(log)),
      FWakeUp(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    FThread = std::thread([this] { Run(); });
}

TMqttLink::~TMqttLink() {
    {
        std::lock_guard lock(FLock);
        FStopping = true;
    }
    WakeUp();
    FThread.join();
}

void TMqttLink::Publish(TMqttMessage message) {
    {
        std::lock_guard lock(FLock);
        FOutbox.Put(std::move(message));
    }
    WakeUp();
}

void TMqttLink::WakeUp() {
    const std::uint64_t one = 1;
    // Only a full counter fails, and then the thread is woken anyway.
    [[maybe_unused]] const auto written = write(FWakeUp.Fd(), &one, sizeof(one));
}

TMqttMessage TMqttLink::StatusMessage(const std::string& status) const {
    return {FTopics.Status(), status, true};
}

void TMqttLink::Run() {
    for (;;) {
        {
            std::lock_guard lock(FLock);
            if (FStopping) {
                break;
            }
        }
        const TTime now = std::chrono::steady_clock::now();
        if (!FClient && now >= FBackoff.NextAttempt()) {
            Attempt(now);
        } else if (FClient && !FConnected && now >= FAttemptStarted + AnswerWait) {
            Fail("The broker does not answer", now);
        }
        if (FConnected) {
            SendDue(now);
        }
        WaitAndService(WaitLimit(now));
    }
    SayGoodbye();
}

void TMqttLink::Attempt(TTime now) {
    TMqttClient::TEvents events;
    events.OnConnected = [this] { FJustConnected = true; };
    events.OnMessage = FOnMessage;
    events.OnPublished = [this](int messageId) { FGoodbyeTaken = FGoodbyeTaken || messageId == FGoodbyeId; };
    FAttemptStarted = now;
    try {
        FClient = std::make_unique<TMqttClient>(FOptions, StatusMessage("offline"), std::move(events));
        FClient->Connect();
    } catch (const std::exception& failure) {
        Fail(failure.what(), now);
    }
}

void TMqttLink::Fail(const std::string& reason, TTime now) {
    FClient.reset();
    FConnected = false;
    if (FBackoff.Failed(reason, now) && FLog) {
        FLog("MQTT", SprintF("MQTT broker %s: %s", FOptions.Url, reason));
    }
}

void TMqttLink::Greet() {
    FJustConnected = false;
    for (const std::string& topic : FSubscriptions) {
        FClient->Subscribe(topic);
    }
    FClient->Publish(StatusMessage("online"));
    {
        std::lock_guard lock(FLock);
        FOutbox.ResendRetained();
    }
    FBackoff.Connected();
    FConnected = true;
    if (FLog) {
        FLog("MQTT", SprintF("Connected to MQTT broker %s", FOptions.Url));
    }
}

void TMqttLink::SendDue(TTime now) {
    std::vector<TMqttMessage> due;
    {
        std::lock_guard lock(FLock);
        due = FOutbox.TakeDue(now);
    }
    try {
        for (const TMqttMessage& message : due) {
            FClient->Publish(message);
        }
    } catch (const std::exception& failure) {
        Fail(failure.what(), now);
    }
}

TMqttLink::TTime TMqttLink::WaitLimit(TTime now) {
    TTime until = now + LongestWait;
    if (!FClient) {
        return std::min(until, FBackoff.NextAttempt());
    }
    if (!FConnected) {
        return std::min(until, FAttemptStarted + AnswerWait);
    }
    std::lock_guard lock(FLock);
    if (const auto due = FOutbox.NextDue()) {
        until = std::min(until, std::max(*due, now));
    }
    return until;
}

void TMqttLink::WaitAndService(TTime until) {
    pollfd watched[2] = {{FWakeUp.Fd(), POLLIN, 0}, {-1, 0, 0}};
    if (FClient) {
        watched[1] = {FClient->Socket(), static_cast<short>(POLLIN | (FClient->WantsWrite() ? POLLOUT : 0)),
                      0};
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    poll(watched, 2, static_cast<int>(std::max<std::int64_t>(wait.count(), 0)));
    if (watched[0].revents & POLLIN) {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto read = ::read(FWakeUp.Fd(), &count, sizeof(count));
    }
    if (!FClient) {
        return;
    }
    try {
        FClient->Service();
        if (FJustConnected) {
            Greet();
        }
    } catch (const std::exception& failure) {
        Fail(failure.what(), std::chrono::steady_clock::now());
    }
}

void TMqttLink::SayGoodbye() {
    if (!FConnected) {
        FClient.reset();
        return;
    }
    try {
        FGoodbyeId = FClient->Publish(StatusMessage("offline"));
        const TTime until = std::chrono::steady_clock::now() + GoodbyeWait;
        while (!FGoodbyeTaken && std::chrono::steady_clock::now() < until) {
            WaitAndService(until);
            if (!FClient) {
                return;
            }
        }
        FClient->Disconnect();
    } catch (const std::exception&) {
        // The broker is gone already; its last will says "offline" for us.
    }
    FClient.reset();
    FConnected = false;
}
