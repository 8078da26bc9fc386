#include "support/LoopbackSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

// A small receive buffer, and small segments, which keep the sender's buffer small as well.
bool TakeLittle(int listener) {
    const int receiveBuffer = 4096;
    const int segment = 536;
    return setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof(receiveBuffer)) == 0 &&
           setsockopt(listener, IPPROTO_TCP, TCP_MAXSEG, &segment, sizeof(segment)) == 0;
}

} // namespace

int ListenOnLoopback(std::uint16_t& port, int backlog, bool takesLittle) {
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    // Set before listening: the connections it accepts take their settings from it.
    if (listener < 0 || (takesLittle && !TakeLittle(listener)) ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener, backlog) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener >= 0) {
            close(listener);
        }
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return listener;
}
