#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// TCP listeners on 127.0.0.1 standing in for displays. Each accepts whoever connects and keeps
// every byte its peers send; one thread reads for all of them and wakes whoever waits.
class TLoopbackDisplays {
public:
    explicit TLoopbackDisplays(std::size_t count);
    ~TLoopbackDisplays();
    TLoopbackDisplays(const TLoopbackDisplays&) = delete;
    TLoopbackDisplays& operator=(const TLoopbackDisplays&) = delete;

    std::size_t Count() const { return FDisplays.size(); }
    std::uint16_t Port(std::size_t display) const { return FDisplays[display].Port; }
    // "127.0.0.1:<port>", a TCP display's connection settings.
    std::string Address(std::size_t display) const;

    // Waits until what `display` has received satisfies `done`, or `wait` has passed; answers
    // whether it did.
    bool WaitFor(std::size_t display, const std::function<bool(const std::string& received)>& done,
                 std::chrono::milliseconds wait) const;
    // Waits as WaitFor does, until the bytes of any display satisfy `done`.
    bool WaitForAny(const std::function<bool(std::size_t display, const std::string& received)>& done,
                    std::chrono::milliseconds wait) const;
    std::size_t ByteCount(std::size_t display) const;
    std::string Received(std::size_t display) const;
    // When each line (ended by CR LF) that holds `marker` had arrived whole, in order.
    std::vector<std::chrono::steady_clock::time_point> LineArrivals(std::size_t display,
                                                                    const std::string& marker) const;

private:
    struct TDisplay {
        int Listener = -1;
        std::uint16_t Port = 0;
        std::vector<int> Peers;
        std::string Received;
        // For every piece received: how many bytes had arrived with it, and when.
        std::vector<std::pair<std::size_t, std::chrono::steady_clock::time_point>> Arrivals;
    };

    void Serve();
    void Accept(TDisplay& display);
    void Receive(TDisplay& display, int peer);

    std::vector<TDisplay> FDisplays;
    int FStopEvent = -1;
    mutable std::mutex FLock;
    mutable std::condition_variable FArrived;
    std::thread FReader;
};
