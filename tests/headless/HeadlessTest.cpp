#include "config/ConfigurationFiles.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "datasources/DisplayDataSourceType.h"
#include "platform/TextFile.h"
#include "rows/RowsFile.h"
#include "simulator/SimImage.h"
#include "simulator/SimServer.h"
#include "support/ChildProcess.h"
#include "support/ConfigurationDir.h"
#include "support/HttpClient.h"
#include "support/LoopbackSocket.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr int DisplayWidth = 64;
constexpr int DumpZoom = 2;

// The row's area line as the display must end up showing it, with `text` in place of the value.
TSimFrame ExpectedFrame(const std::string& text) {
    TSimDisplay display(DisplayWidth);
    display.Execute("-sc0 -sg0,0,64,16 -f1 -cb0 -cf1 -sad0 -nss0 -t\"" + text + "\"");
    return display.Frame();
}

// A virtual display that vorlix-headless can reach, with the display record's type and settings
// that lead to it.
class VirtualDisplay {
public:
    virtual ~VirtualDisplay() = default;
    virtual std::uint16_t DisplayType() const = 0;
    virtual std::string Settings() const = 0;
    // What it shows now; nothing when it cannot tell.
    virtual std::optional<TSimFrame> Frame() = 0;
};

// In this process, over TCP or, as a serial display, over its pseudo-terminal.
class InProcessDisplay : public VirtualDisplay {
public:
    explicit InProcessDisplay(bool serial) : FSerial(serial) {}

    std::uint16_t DisplayType() const override { return FSerial ? 3 : 4; }
    std::string Settings() const override {
        return FSerial ? FServer.PtyPath() : "127.0.0.1:" + std::to_string(FServer.Port());
    }
    std::optional<TSimFrame> Frame() override { return FDisplay.Frame(); }

private:
    const bool FSerial;
    TSimDisplay FDisplay{DisplayWidth};
    TSimServer FServer{FDisplay, {"127.0.0.1", 0, FSerial}};
};

#ifdef VORLIX_SIM_PROGRAM
std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// Reads the LEDs back from a dumped picture: the colour at the centre of each LED.
std::optional<TSimFrame> FrameFromPng(const std::string& png) {
    std::string deflated;
    for (std::size_t at = 8; at + 12 <= png.size(); at += 12 + BigEndian(png, at)) {
        if (png.compare(at + 4, 4, "IDAT") == 0) {
            deflated += png.substr(at + 8, BigEndian(png, at));
        }
    }
    const std::size_t rowBytes = 1 + DisplayWidth * DumpZoom * 3;
    std::string raw(rowBytes * TSimFrame::Height * DumpZoom, '\0');
    uLongf size = raw.size();
    if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &size,
                   reinterpret_cast<const Bytef*>(deflated.data()), deflated.size()) != Z_OK ||
        size != raw.size()) {
        return std::nullopt;
    }
    TSimFrame frame(DisplayWidth);
    for (int y = 0; y < TSimFrame::Height; ++y) {
        for (int x = 0; x < DisplayWidth; ++x) {
            const std::size_t at = static_cast<std::size_t>(y * DumpZoom + 1) * rowBytes + 1 +
                                   static_cast<std::size_t>(x * DumpZoom + 1) * 3;
            const TRgb rgb{static_cast<std::uint8_t>(raw[at]), static_cast<std::uint8_t>(raw[at + 1]),
                           static_cast<std::uint8_t>(raw[at + 2])};
            for (const TLedColor color : {TLedColor::Red, TLedColor::Green, TLedColor::Yellow}) {
                if (rgb == LedRgb(color, 100)) {
                    frame.Set(x, y, color);
                }
            }
        }
    }
    return frame;
}

// vorlix-sim --headless on a free port; its frame comes from the PNG it writes on SIGUSR1.
class SimProcessDisplay : public VirtualDisplay {
public:
    SimProcessDisplay() {
        EXPECT_TRUE(FSim.WaitForOutput("\n", 10s)) << FSim.Output();
        const std::size_t colon = FSim.Output().rfind(':');
        FPort = static_cast<std::uint16_t>(std::stoi(FSim.Output().substr(colon + 1)));
    }

    std::uint16_t DisplayType() const override { return 4; }
    std::string Settings() const override { return "127.0.0.1:" + std::to_string(FPort); }

    std::optional<TSimFrame> Frame() override {
        std::filesystem::remove(FDump);
        FSim.Signal(SIGUSR1);
        for (auto until = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < until;) {
            if (std::filesystem::exists(FDump)) {
                return FrameFromPng(ReadFileBytes(FDump));
            }
            std::this_thread::sleep_for(10ms);
        }
        return std::nullopt;
    }

private:
    TempDir FDir;
    const std::filesystem::path FDump = FDir / "frame.png";
    ChildProcess FSim{{VORLIX_SIM_PROGRAM, "--headless", "--port", "0", "--zoom", std::to_string(DumpZoom),
                       "--dump", FDump.string()}};
    std::uint16_t FPort = 0;
};
#endif

// A configuration directory: a file source "Value" read from value.txt every 100 ms and one
// display showing it in a single row.
class Configuration {
public:
    Configuration(std::uint16_t displayType, const std::string& settings) {
        SetValue("Hej");
        TBaseObjectList<TVDataSource> sources;
        auto& source = sources.Add(std::make_unique<TVDataSource>());
        source.SetName("Value");
        source.SetDataSourceType(2);
        source.SetTimeout(100);
        source.SetConfiguration((FDir / "value.txt").string());
        WriteListFile(DataSourcesFilePath(FDir.Path().string()), sources);
        TBaseObjectList<TVDisplay> displays;
        auto& display = displays.Add(std::make_unique<TVDisplay>());
        display.SetName("Hall");
        display.SetDisplayType(displayType);
        display.SetWidth(DisplayWidth);
        display.SetBrightness(100);
        display.SetDisplaySettings(settings);
        WriteListFile(DisplaysFilePath(FDir.Path().string()), displays);
        TRowSendCycle::TRows rows;
        rows.push_back(std::make_unique<TConfigurationRow>("Value", 2, 0, 0, 1, 200));
        rows.back()->TextIsParameter = true;
        WriteRowsFile(RowsFilePath(FDir.Path().string(), "Hall"), rows);
    }

    void SetValue(const std::string& text) const { ReplaceFile(FDir / "value.txt", text + "\r\n"); }
    std::string Path() const { return FDir.Path().string(); }

private:
    TempDir FDir;
};

bool Shows(VirtualDisplay& display, const std::string& text) {
    const TSimFrame expected = ExpectedFrame(text);
    for (auto until = std::chrono::steady_clock::now() + 15s; std::chrono::steady_clock::now() < until;) {
        if (display.Frame() == expected) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

using DisplayFactory = std::function<std::unique_ptr<VirtualDisplay>()>;

std::unique_ptr<VirtualDisplay> InProcessTcp() {
    return std::make_unique<InProcessDisplay>(false);
}

std::unique_ptr<VirtualDisplay> InProcessSerial() {
    return std::make_unique<InProcessDisplay>(true);
}

// Nothing where the build has no vorlix-sim.
std::unique_ptr<VirtualDisplay> SimProgram() {
#ifdef VORLIX_SIM_PROGRAM
    return std::make_unique<SimProcessDisplay>();
#else
    return nullptr;
#endif
}

class HeadlessRunTest : public ::testing::TestWithParam<std::pair<const char*, DisplayFactory>> {};

TEST_P(HeadlessRunTest, ShowsTheRowAndThenTheChangedValueOnTheVirtualDisplay) {
    const std::unique_ptr<VirtualDisplay> display = GetParam().second();
    if (!display) {
        GTEST_SKIP() << "vorlix-sim is built only with the window";
    }
    const Configuration configuration(display->DisplayType(), display->Settings());
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, configuration.Path()});
    EXPECT_TRUE(Shows(*display, "Hej")) << headless.Output();
    configuration.SetValue("Ny");
    EXPECT_TRUE(Shows(*display, "Ny")) << headless.Output();
    headless.Signal(SIGTERM);
    EXPECT_EQ(headless.WaitForExit(5s), 0);
    // The send cycle's log line, formatted as the main window shows it.
    EXPECT_NE(
        headless.Output().find("Hall :(200)-sc0 -sg0,0,64,16 -f1 -cb0 -cf1 -sad0 -nss0 -t\"[Value]\"  "),
        std::string::npos)
        << headless.Output();
}

INSTANTIATE_TEST_SUITE_P(Displays, HeadlessRunTest,
                         ::testing::Values(std::make_pair("InProcessTcp", DisplayFactory(InProcessTcp)),
                                           std::make_pair("InProcessSerial", DisplayFactory(InProcessSerial)),
                                           std::make_pair("SimProgram", DisplayFactory(SimProgram))),
                         [](const auto& info) { return std::string(info.param.first); });

class HeadlessStopTest : public ::testing::TestWithParam<int> {};

TEST_P(HeadlessStopTest, EndsWithinASecondOfAStopSignal) {
    // A debug display: running, logging, and reaching for nothing.
    const Configuration configuration(0, "");
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, configuration.Path()});
    ASSERT_TRUE(headless.WaitForOutput("Hall :(200)", 15s)) << headless.Output();
    headless.Signal(GetParam());
    EXPECT_EQ(headless.WaitForExit(1s), 0) << headless.Output();
}

INSTANTIATE_TEST_SUITE_P(Signals, HeadlessStopTest, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return info.param == SIGTERM ? "SIGTERM" : "SIGINT"; });

// Displays that stop reading, one over TCP and one on a pseudo-terminal, never hold up the others
// or the end of the program: the serial one reports its stalled write, the healthy one goes on
// showing its rows, and SIGTERM still ends the program within a second.
TEST(HeadlessStallTest, DisplaysThatStopReadingHoldUpNeitherTheOthersNorTheEnd) {
    InProcessDisplay healthy(false);
    std::uint16_t stalledPort = 0;
    const int stalledListener = ListenOnLoopback(stalledPort, 4);
    int master = -1;
    int slave = -1;
    char ptyName[256] = {};
    ASSERT_EQ(openpty(&master, &slave, ptyName, nullptr, nullptr), 0);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);

    ConfigurationDir dir;
    dir.AddDisplay("Hall", 4, healthy.Settings());
    dir.AddDisplay("Stalled", 4, "127.0.0.1:" + std::to_string(stalledPort));
    dir.AddDisplay("Door", 3, ptyName);
    dir.Write();
    TRowSendCycle::TRows rows;
    rows.push_back(TextRow("Hej", 250));
    rows.push_back(TextRow("Ny", 250));
    dir.WriteRows("Hall", rows);
    for (const char* name : {"Stalled", "Door"}) {
        TRowSendCycle::TRows longRows;
        longRows.push_back(TextRow(std::string(3000, 'x'), 100));
        longRows.push_back(TextRow(std::string(3000, 'y'), 100));
        dir.WriteRows(name, longRows);
    }
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, dir.Path()});
    EXPECT_TRUE(headless.WaitForOutput(
        "Error while writing to port " + std::string(ptyName) + " for display Door:No progress for 2 s", 20s))
        << headless.Output();
    EXPECT_TRUE(Shows(healthy, "Hej")) << headless.Output();
    EXPECT_TRUE(Shows(healthy, "Ny")) << headless.Output();
    headless.Signal(SIGTERM);
    EXPECT_EQ(headless.WaitForExit(1s), 0) << headless.Output();
    close(master);
    close(slave);
    close(stalledListener);
}

struct FailedStart {
    const char* Name;
    std::function<std::string(const TempDir&)> Directory;
    std::function<std::string(const TempDir&)> Message;
};

class HeadlessFailureTest : public ::testing::TestWithParam<FailedStart> {};

TEST_P(HeadlessFailureTest, PrintsTheReasonAndExitsWith1) {
    const TempDir dir;
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, GetParam().Directory(dir)});
    EXPECT_EQ(headless.WaitForExit(15s), 1);
    EXPECT_NE(headless.Output().find(GetParam().Message(dir)), std::string::npos) << headless.Output();
}

INSTANTIATE_TEST_SUITE_P(
    Starts, HeadlessFailureTest,
    ::testing::Values(
        FailedStart{"MissingFiles", [](const TempDir& dir) { return dir.Path().string(); },
                    [](const TempDir& dir) {
                        return "Cannot open file \"" + (dir / "local-datasources.json").string() + "\".";
                    }},
        FailedStart{"BrokenFile",
                    [](const TempDir& dir) {
                        dir.Write("local-datasources.json", "null\r\n");
                        dir.Write("local-displays.json", "{broken");
                        return dir.Path().string();
                    },
                    [](const TempDir&) { return std::string("The input value is not a valid Object"); }},
        FailedStart{"MissingDirectory", [](const TempDir& dir) { return (dir / "nowhere").string(); },
                    [](const TempDir& dir) {
                        return "Cannot open directory \"" + (dir / "nowhere").string() +
                               "\". No such file or directory";
                    }},
        FailedStart{"NotADirectory", [](const TempDir& dir) { return dir.Write("file", "").string(); },
                    [](const TempDir& dir) {
                        return "Cannot open directory \"" + (dir / "file").string() + "\". Not a directory";
                    }}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace

// The HTTP API of the real program: a pushed value and a notification reach the virtual display,
// and the program reports its display.
TEST(HeadlessApiTest, TakesValuesAndNotificationsOverHttp) {
    InProcessDisplay display(false);
    ConfigurationDir config;
    config.AddSource("Counter", DisplayDataSourceType_REST, 0, "");
    config.AddDisplay("Hall", display.DisplayType(), display.Settings());
    config.Write();
    TRowSendCycle::TRows rows;
    rows.push_back(std::make_unique<TConfigurationRow>("Counter", 2, 0, 0, 1, 60000));
    rows.back()->TextIsParameter = true;
    config.WriteRows("Hall", rows);
    const std::string tokenFile = config.Dir().Write("token", "e2e-token\n").string();

    ChildProcess headless(
        {VORLIX_HEADLESS_PROGRAM, "--api", "127.0.0.1:0", config.Path(), "--api-token-file", tokenFile});
    ASSERT_TRUE(headless.WaitForOutput("API :API listening on 127.0.0.1:", 15s)) << headless.Output();
    ASSERT_TRUE(headless.WaitForOutput("\n", 1s));
    const std::size_t at = headless.Output().find("API listening on 127.0.0.1:") + 27;
    const std::string url = "http://127.0.0.1:" + std::to_string(std::stoi(headless.Output().substr(at)));
    const std::vector<std::string> token = {"Authorization: Bearer e2e-token"};
    THttpClient client;

    EXPECT_EQ(client.Send("GET", url + "/healthz").Status, 401);
    EXPECT_EQ(client.Send("GET", url + "/healthz", "", token).Body, "ok");
    EXPECT_EQ(client.Send("PUT", url + "/api/v1/sources/Counter", R"({"value": "42"})", token).Status, 200);
    EXPECT_TRUE(Shows(display, "42")) << headless.Output();
    EXPECT_EQ(
        client.Send("POST", url + "/api/v1/displays/Hall/notify", R"({"text": "Drill", "ms": 500})", token)
            .Status,
        202);
    EXPECT_TRUE(Shows(display, "Drill"));
    EXPECT_TRUE(Shows(display, "42")) << "the rotation is back";
    const auto displays = client.Send("GET", url + "/api/v1/displays", "", token);
    EXPECT_NE(displays.Body.find(R"("name":"Hall")"), std::string::npos) << displays.Body;
    EXPECT_NE(displays.Body.find(R"("connected":true)"), std::string::npos) << displays.Body;
    headless.Signal(SIGTERM);
    EXPECT_EQ(headless.WaitForExit(5s), 0) << headless.Output();
}

TEST(HeadlessApiTest, RefusesToListenBeyondLoopbackWithoutAToken) {
    ConfigurationDir config;
    config.Write();
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, config.Path(), "--api", "0.0.0.0:0"});
    EXPECT_EQ(headless.WaitForExit(15s), 1);
    EXPECT_NE(headless.Output().find("The API listens on 0.0.0.0:0 only with a token"), std::string::npos)
        << headless.Output();
}
