#include "support/MosquittoBroker.h"

#include "support/LoopbackSocket.h"
#include "support/TestCertificate.h"

#include <pwd.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

namespace {

using namespace std::chrono_literals;

const std::string BrokerProgram = "/usr/sbin/mosquitto";
const std::string PublishProgram = "/usr/bin/mosquitto_pub";
const std::string SubscribeProgram = "/usr/bin/mosquitto_sub";
const std::string PasswordProgram = "/usr/bin/mosquitto_passwd";
// mosquitto_sub prints its debug lines without flushing them.
const std::string LineBuffered = "/usr/bin/stdbuf";

std::uint16_t FreePort() {
    std::uint16_t port = 0;
    close(ListenOnLoopback(port, 1));
    return port;
}

// The broker drops root rights for this user; staying ourselves lets it read its files.
std::string CurrentUser() {
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? entry->pw_name : "root";
}

void RunToEnd(const std::vector<std::string>& arguments) {
    ChildProcess program(arguments);
    if (program.WaitForExit(10s) != 0) {
        throw std::runtime_error(arguments[0] + " failed: " + program.Output());
    }
}

} // namespace

MosquittoBroker::MosquittoBroker() : MosquittoBroker(TSettings()) {}

MosquittoBroker::MosquittoBroker(const TSettings& settings) : FSettings(settings), FPort(FreePort()) {
    std::string configuration = "listener " + std::to_string(FPort) + " 127.0.0.1\n" +
                                "persistence false\nlog_dest stderr\nuser " + CurrentUser() + "\n";
    if (FSettings.Tls) {
        WriteTestCertificate(CertificateFile(), FDir / "key.pem");
        configuration += "certfile " + CertificateFile() + "\nkeyfile " + (FDir / "key.pem").string() + "\n";
    }
    if (FSettings.User.empty()) {
        configuration += "allow_anonymous true\n";
    } else {
        const std::string passwords = (FDir / "passwords").string();
        RunToEnd({PasswordProgram, "-c", "-b", passwords, FSettings.User, FSettings.Password});
        configuration += "allow_anonymous false\npassword_file " + passwords + "\n";
    }
    FDir.Write("mosquitto.conf", configuration);
    Start();
}

MosquittoBroker::~MosquittoBroker() {
    Stop();
}

void MosquittoBroker::Start() {
    FBroker = std::make_unique<ChildProcess>(
        std::vector<std::string>{BrokerProgram, "-c", (FDir / "mosquitto.conf").string()});
    if (!FBroker->WaitForOutput(" running", 10s)) {
        throw std::runtime_error("mosquitto did not start: " + FBroker->Output());
    }
}

void MosquittoBroker::Stop() {
    if (FBroker) {
        FBroker->Signal(SIGTERM);
        FBroker->WaitForExit(5s);
        FBroker.reset();
    }
}

void MosquittoBroker::Restart() {
    Stop();
    Start();
}

std::vector<std::string> MosquittoBroker::ClientArguments(const std::string& program) const {
    std::vector<std::string> arguments{program, "-h", "127.0.0.1", "-p", std::to_string(FPort), "-q", "1"};
    if (!FSettings.User.empty()) {
        arguments.insert(arguments.end(), {"-u", FSettings.User, "-P", FSettings.Password});
    }
    if (FSettings.Tls) {
        arguments.insert(arguments.end(), {"--cafile", CertificateFile()});
    }
    return arguments;
}

void MosquittoBroker::Publish(const std::string& topic, const std::string& payload, bool retain) const {
    std::vector<std::string> arguments = ClientArguments(PublishProgram);
    arguments.insert(arguments.end(), {"-t", topic, "-m", payload});
    if (retain) {
        arguments.push_back("-r");
    }
    RunToEnd(arguments);
}

std::unique_ptr<ChildProcess> MosquittoBroker::Subscribe(const std::string& topic) const {
    std::vector<std::string> arguments = ClientArguments(SubscribeProgram);
    arguments.insert(arguments.begin(), {LineBuffered, "-oL"});
    arguments.insert(arguments.end(), {"-d", "-t", topic, "-F", "%r %t %p"});
    auto subscriber = std::make_unique<ChildProcess>(arguments);
    if (!subscriber->WaitForOutput("SUBACK", 10s)) {
        throw std::runtime_error("mosquitto_sub did not subscribe: " + subscriber->Output());
    }
    return subscriber;
}
