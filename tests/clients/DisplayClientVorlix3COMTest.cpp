#include "clients/DisplayClientVorlix3COM.h"

#include "ClientTestSupport.h"
#include "datasources/DisplayBase.h"
#include "platform/VorlixError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace {

using clienttest::TExactSource;
using clienttest::TLogRecorder;
using clienttest::WaitUntil;

const std::string Greeting = "-dac -i100 -v\r";

// A pseudo-terminal whose master side plays the display; the client opens the other side.
class TPseudoTerminal {
public:
    TPseudoTerminal() {
        char name[256] = {};
        if (openpty(&FMaster, &FSlave, name, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        FPath = name;
        // Raw from the start, so that bytes the display sends early wait unechoed for the client.
        termios settings{};
        tcgetattr(FSlave, &settings);
        cfmakeraw(&settings);
        tcsetattr(FSlave, TCSANOW, &settings);
    }
    ~TPseudoTerminal() {
        close(FMaster);
        close(FSlave);
    }
    TPseudoTerminal(const TPseudoTerminal&) = delete;
    TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

    const std::string& Path() const { return FPath; }

    void Write(const std::string& bytes) const {
        EXPECT_EQ(::write(FMaster, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // The next `count` bytes the client wrote, or fewer when they do not come within 10 s.
    std::string Read(std::size_t count) const {
        std::string bytes;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd ready{FMaster, POLLIN, 0};
            if (poll(&ready, 1, 10) == 1) {
                char buffer[256];
                const auto received = ::read(FMaster, buffer, std::min(sizeof buffer, count - bytes.size()));
                if (received <= 0) {
                    break;
                }
                bytes.append(buffer, static_cast<std::size_t>(received));
            }
        }
        return bytes;
    }

    termios LineSettings() const {
        termios settings{};
        tcgetattr(FSlave, &settings);
        return settings;
    }

private:
    int FMaster = -1;
    int FSlave = -1;
    std::string FPath;
};

// A serial client on `device`, in push mode and started.
std::unique_ptr<TDisplayClientVorlix3COM> StartedClient(const std::string& device, TLogRecorder& log,
                                                        const std::string& configuration = "") {
    auto client = std::make_unique<TDisplayClientVorlix3COM>(
        TDisplayBase("Door", configuration, device, DisplayType_Vorlix3Com), false);
    client->SetOnLogMessage(log.Handler());
    client->SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    client->ThreadStart();
    return client;
}

// Reads the greeting and waits until the client has taken the connection into use.
void ExpectGreeted(const TPseudoTerminal& display, const TDisplayClientBase& client,
                   std::uint64_t connections) {
    EXPECT_EQ(display.Read(Greeting.size()), Greeting);
    EXPECT_TRUE(WaitUntil([&] { return client.ConnectionCount() == connections; }));
}

TEST(DisplayClientVorlix3COM, GreetsTheDisplayAndTakesItsAnswerUpToThePauseAsTheVersion) {
    const struct {
        const char* answer;
        const char* expectedVersion;
    } cases[] = {{"V3.1 2019\r", "V3.1 2019\r"}, {"", ""}, {"Vorlix \xE9", "Vorlix \xC3\xA9"}};
    for (const auto& c : cases) {
        TPseudoTerminal display;
        display.Write(c.answer);
        TLogRecorder log;
        const auto client = StartedClient(display.Path(), log);
        ExpectGreeted(display, *client, 1);
        EXPECT_EQ(client->SoftwareVersion(), c.expectedVersion);
        EXPECT_EQ(log.Messages().front(),
                  FormatLogText(LogType_Info, "Create Vorlix3 Door on port " + display.Path() +
                                                  ", subscribes on 0 variables"));
    }
}

TEST(DisplayClientVorlix3COM, SetsTheLineTo9600Baud8N1WithoutFlowControl) {
    TPseudoTerminal display;
    TLogRecorder log;
    const auto client = StartedClient(display.Path(), log);
    ExpectGreeted(display, *client, 1);
    const termios settings = display.LineSettings();
    EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B9600));
    EXPECT_EQ(cfgetispeed(&settings), static_cast<speed_t>(B9600));
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | IXANY), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
}

TEST(DisplayClientVorlix3COM, PushedPiecesGoOutWithTheirCarriageReturns) {
    TPseudoTerminal display;
    TLogRecorder log;
    const auto client = StartedClient(display.Path(), log);
    ExpectGreeted(display, *client, 1);
    client->UpdateVariables(TExactSource("Temp", "21"));
    const struct {
        const char* configstring;
        const char* expected;
    } cases[] = {
        {"A|B", "A\r\rB\r\r"},
        {"|A", "A\r\r"},
        {"A||B", "A\r\r\rB\r\r"},
        {"A|", "A\r\r\r"},
        {"-sc1 -dc|-sc0 -t\"[Temp]\"", "-sc1 -dc\r\r-sc0 -t\"21\"\r\r"},
        {"Bl\xC3\xA5 \xE2\x82\xAC", "Bl\xE5 \x80\r\r"},
        {"|", ""},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(client->SendConfigString(c.configstring)) << c.configstring;
        const std::string expected = c.expected;
        EXPECT_EQ(display.Read(expected.size()), expected) << c.configstring;
    }
    // Nothing else went out in between.
    EXPECT_TRUE(client->SendConfigString("end"));
    EXPECT_EQ(display.Read(5), "end\r\r");
    EXPECT_EQ(log.Count(FormatLogText(LogType_Trace, "Sent to display Door:-sc0 -t\"21\"")), 1u);
}

// Started again after a suspend, the client reopens the port without greeting the display, which
// keeps what it shows; after a settings change it greets the display again.
TEST(DisplayClientVorlix3COM, SendsNothingWhileSuspendedAndReopensWithoutAGreeting) {
    TPseudoTerminal display;
    TLogRecorder log;
    const auto client = StartedClient(display.Path(), log);
    ExpectGreeted(display, *client, 1);

    client->ThreadSuspend();
    EXPECT_FALSE(client->SendConfigString("A"));
    client->ThreadStart();
    ASSERT_TRUE(WaitUntil([&] { return client->SendConfigString("B"); }));
    EXPECT_EQ(display.Read(3), "B\r\r");
    EXPECT_EQ(client->ConnectionCount(), 1u);

    EXPECT_TRUE(client->SetDisplayConfig(display.Path()));
    client->ThreadStart();
    ExpectGreeted(display, *client, 2);
    EXPECT_TRUE(client->SendConfigString("C"));
    EXPECT_EQ(display.Read(3), "C\r\r");
}

TEST(DisplayClientVorlix3COM, RefusesPushesOutsidePushMode) {
    TPseudoTerminal display;
    TLogRecorder log;
    const auto client = StartedClient(display.Path(), log);
    ExpectGreeted(display, *client, 1);
    client->SetClientMode(TDisplayClientBase::ClientMode_Automatic);
    EXPECT_FALSE(client->SendConfigString("A"));
}

TEST(DisplayClientVorlix3COM, AutomaticModeSendsEveryAreaInUseWithItsSelectorTwice) {
    TPseudoTerminal display;
    TLogRecorder log;
    const auto client = StartedClient(display.Path(), log, "-sc2 -f1");
    ExpectGreeted(display, *client, 1);
    client->SetClientMode(TDisplayClientBase::ClientMode_Automatic);
    const std::string line = "-sc2 -sc2  -f1";
    EXPECT_EQ(display.Read(line.size() + 2), line + "\r\r");
    EXPECT_TRUE(log.WaitFor(FormatLogText(LogType_Trace, "Sent to display Door:" + line)));
}

// The port is what the settings text names; a rejected text keeps the previous port and state.
TEST(DisplayClientVorlix3COM, SettingsTextNamesThePort) {
    const struct {
        const char* settings;
        bool accepted;
        const char* expectedDevice;
    } cases[] = {
        {"3", true, "/dev/ttyS2"},
        {"1", true, "/dev/ttyS0"},
        {"/dev/serial/by-id/usb-FTDI", true, "/dev/serial/by-id/usb-FTDI"},
        {"abc", false, "/dev/ttyUSB7"},
        {"0", false, "/dev/ttyUSB7"},
        {"3x", false, "/dev/ttyUSB7"},
        {"-2", false, "/dev/ttyUSB7"},
        {"", false, "/dev/ttyUSB7"},
    };
    for (const auto& c : cases) {
        std::mutex lock;
        std::string opened;
        const auto recordDevice = [&](asio::io_context&,
                                      const std::string& device) -> std::unique_ptr<TDisplayConnection> {
            std::lock_guard guard(lock);
            opened = device;
            throw EVorlixError("no such device");
        };
        TLogRecorder log;
        TDisplayClientVorlix3COM client(TDisplayBase("Door", "", "/dev/ttyUSB7", DisplayType_Vorlix3Com),
                                        false, recordDevice);
        client.SetOnLogMessage(log.Handler());
        client.SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
        client.ThreadStart();

        EXPECT_EQ(client.SetDisplayConfig(c.settings), c.accepted) << c.settings;
        {
            std::lock_guard guard(lock);
            opened.clear();
        }
        EXPECT_EQ(client.BaseConfiguration(), c.settings);
        EXPECT_EQ(client.IsRunning(), !c.accepted) << "an accepted port suspends the client";
        EXPECT_EQ(log.Count(FormatLogText(LogType_Error, std::string("Could not parse ") + c.settings +
                                                             " to a valid comportnumber")),
                  c.accepted ? 0u : 1u);

        client.ThreadStart();
        EXPECT_TRUE(WaitUntil([&] {
            std::lock_guard guard(lock);
            return opened == c.expectedDevice;
        })) << c.settings;
    }
}

// An adapter that is unplugged fails the next write; once it is back under its name, the client
// opens it again and greets the display.
TEST(DisplayClientVorlix3COM, ALostPortIsLoggedOnceAndTheClientRecoversWhenTheDeviceIsBack) {
    TempDir dir;
    const std::filesystem::path link = dir / "by-id-display";
    auto first = std::make_unique<TPseudoTerminal>();
    std::filesystem::create_symlink(first->Path(), link);
    TLogRecorder log;
    const auto client = StartedClient(link.string(), log);
    ExpectGreeted(*first, *client, 1);

    first.reset();
    const std::string loss = FormatLogText(LogType_Error, "Connection to display Door lost:");
    const auto losses = [&] {
        const auto messages = log.Messages();
        return std::count_if(messages.begin(), messages.end(),
                             [&](const std::string& message) { return message.starts_with(loss); });
    };
    EXPECT_TRUE(WaitUntil([&] { return losses() == 1; }));
    EXPECT_FALSE(client->SendConfigString("A"));

    TPseudoTerminal second;
    std::filesystem::remove(link);
    std::filesystem::create_symlink(second.Path(), link);
    ExpectGreeted(second, *client, 2);
    EXPECT_TRUE(client->SendConfigString("A"));
    EXPECT_EQ(second.Read(3), "A\r\r");
}

} // namespace
