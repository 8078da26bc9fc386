#include "LocalHttpServer.h"

#include <stdexcept>

TLocalHttpServer::TLocalHttpServer() : FServer(std::make_unique<httplib::Server>()), FScheme("http") {}

TLocalHttpServer::TLocalHttpServer(const std::string& certificateFile, const std::string& keyFile)
    : FServer(std::make_unique<httplib::SSLServer>(certificateFile.c_str(), keyFile.c_str())),
      FScheme("https") {
    if (!FServer->is_valid()) {
        throw std::runtime_error("the test certificate was not accepted");
    }
}

TLocalHttpServer::~TLocalHttpServer() {
    if (!FThread.joinable()) {
        return;
    }
    // stop() only works once the accept loop runs.
    while (!FServer->is_running()) {
        std::this_thread::yield();
    }
    FServer->stop();
    FThread.join();
}

void TLocalHttpServer::Start() {
    FPort = FServer->bind_to_any_port("127.0.0.1");
    if (FPort <= 0) {
        throw std::runtime_error("cannot bind a local port");
    }
    FThread = std::thread([this] { FServer->listen_after_bind(); });
}

std::string TLocalHttpServer::Url(const std::string& path) const {
    return FScheme + "://127.0.0.1:" + std::to_string(FPort) + path;
}
