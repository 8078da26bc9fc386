#pragma once

#include "platform/FileDescriptor.h"
#include "simulator/SimDisplay.h"
#include "simulator/SimLineReader.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>

struct TSimServerOptions {
    std::string Bind = "127.0.0.1";
    // 0 takes any free port.
    std::uint16_t Port = 3027;
    // Also offer a pseudo-terminal, as a serial display would be reached.
    bool Pty = false;
};

// A message of the server about trouble it works around, such as running out of descriptors.
using TSimServerReport = std::function<void(const std::string& message)>;

// Writes the message and a line break to standard error.
void ReportOnStandardError(const std::string& message);

// Lets display clients reach a virtual display: a TCP listener taking any number of connections,
// and optionally a pseudo-terminal, each with its own line reader; answers go back the way the
// question came. Serves on a thread of its own from construction to destruction; `report` is
// called on that thread.
class TSimServer {
public:
    // Throws EVorlixError when the address cannot be listened on or no pseudo-terminal can be had.
    TSimServer(TSimDisplay& display, const TSimServerOptions& options,
               TSimServerReport report = ReportOnStandardError);
    ~TSimServer();
    TSimServer(const TSimServer&) = delete;
    TSimServer& operator=(const TSimServer&) = delete;

    // The port listened on, also when any free port was asked for.
    std::uint16_t Port() const { return FPort; }
    // The device path of the pseudo-terminal's other end; empty without one.
    const std::string& PtyPath() const { return FPtyPath; }

private:
    void Listen(const TSimServerOptions& options);
    void OpenPty();
    void Run();
    // The next connection, or no descriptor when there is none to be had now.
    TFileDescriptor Accept();
    // Reads what `fd` has to say and answers it; false when the peer has gone.
    bool Serve(int fd, TSimLineReader& reader, bool isSocket);

    TSimDisplay& FDisplay;
    const TSimServerReport FReport;
    TFileDescriptor FListener;
    TFileDescriptor FPtyMaster;
    // Held open so that the pseudo-terminal stays usable while no client has it open.
    TFileDescriptor FPtySlave;
    TFileDescriptor FWakeRead;
    TFileDescriptor FWakeWrite;
    std::uint16_t FPort = 0;
    std::string FPtyPath;
    // While accepting fails for want of descriptors, the listener is left alone until then.
    std::optional<std::chrono::steady_clock::time_point> FAcceptResumes;
    bool FAcceptFailing = false;
    std::thread FThread;
};
