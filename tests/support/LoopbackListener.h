#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// A TCP listener on 127.0.0.1 at a free port that accepts one peer and collects its bytes.
class LoopbackListener {
public:
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    std::uint16_t Port() const { return FPort; }
    // Accepts the first peer if needed, then reads until `bytes` bytes have arrived in all or
    // `wait` has passed; answers everything received so far.
    std::string ReceiveAtLeast(std::size_t bytes, std::chrono::milliseconds wait = std::chrono::seconds(10));
    // Answers the peer.
    void Send(const std::string& bytes);

private:
    int FListener = -1;
    int FPeer = -1;
    std::uint16_t FPort = 0;
    std::string FReceived;
};
