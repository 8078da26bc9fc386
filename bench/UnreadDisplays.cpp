#include "UnreadDisplays.h"

#include "support/LoopbackSocket.h"

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

namespace {

// Room for the reconnections of a long run: none of them is ever accepted.
constexpr int Backlog = 64;

} // namespace

TUnreadTcpDisplay::TUnreadTcpDisplay() {
    FListener = ListenOnLoopback(FPort, Backlog, true);
}

TUnreadTcpDisplay::~TUnreadTcpDisplay() {
    close(FListener);
}

std::string TUnreadTcpDisplay::Address() const {
    return "127.0.0.1:" + std::to_string(FPort);
}

// The slave side stays open here too, so the terminal never hangs up between the client's
// connections; raw, so that nothing is echoed.
TUnreadSerialDisplay::TUnreadSerialDisplay() {
    char name[256] = {};
    if (openpty(&FMaster, &FSlave, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    FDevice = name;
    termios settings{};
    tcgetattr(FSlave, &settings);
    cfmakeraw(&settings);
    tcsetattr(FSlave, TCSANOW, &settings);
}

TUnreadSerialDisplay::~TUnreadSerialDisplay() {
    close(FMaster);
    close(FSlave);
}
