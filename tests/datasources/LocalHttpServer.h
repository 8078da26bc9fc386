#pragma once

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

// A real HTTP server, or HTTPS with the given certificate, on 127.0.0.1 with a free port. Register
// handlers on Server() first, then Start(); it stops when the object goes.
class TLocalHttpServer {
public:
    TLocalHttpServer();
    TLocalHttpServer(const std::string& certificateFile, const std::string& keyFile);
    ~TLocalHttpServer();
    TLocalHttpServer(const TLocalHttpServer&) = delete;
    TLocalHttpServer& operator=(const TLocalHttpServer&) = delete;

    httplib::Server& Server() { return *FServer; }
    void Start();
    // "http://127.0.0.1:<port><path>", or https.
    std::string Url(const std::string& path) const;

private:
    std::unique_ptr<httplib::Server> FServer;
    std::string FScheme;
    int FPort = 0;
    std::thread FThread;
};
