#include "clients/LoopbackDisplay.h"
#include "config/ConfigurationFiles.h"
#include "config/JsonText.h"
#include "support/HttpClient.h"
#include "support/RunningSession.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

namespace {

using namespace std::chrono_literals;
using clienttest::TLoopbackDisplay;
using clienttest::WaitUntil;
using json = nlohmann::ordered_json;

// What a 64-pixel display receives for a row in the large area, red on nothing. A source's value
// arrives with the line break after each of its lines.
std::string RowBytes(const std::string& text, int scroll = 0) {
    return "-sc0 -sg0,0,64,16 -f1 -cb0 -cf1 -sad0 -nss" + std::to_string(scroll) + " -t\"" + text +
           "\"  \r\n";
}

const std::string Greeting = "-dac\r\n-v\r\n-i50\r\n";

class ApiServerTest : public ::testing::Test {
protected:
    ApiServerTest() {
        config.AddSource("Counter", DisplayDataSourceType_REST, 0, "");
        config.AddSource("Opening", DisplayDataSourceType_Static, 10, "2026-01-01").SetPublicChangeable(true);
        config.AddSource("Greeting", DisplayDataSourceType_Static, 0, "Hej");
        config.AddSource("Visitors", DisplayDataSourceType_File, 0, "visitors.txt");
        config.AddSource("Entré Norr", DisplayDataSourceType_REST, 0, "");
        config.AddDisplay("Hall", DisplayType_Vorlix3Ip, hall.Address());
        config.AddDisplay("Foyer", DisplayType_Vorlix3Ip, foyer.Address());
        config.Write();
        TRowSendCycle::TRows hallRows;
        hallRows.push_back(TextRow("Counter", 60000));
        hallRows.back()->TextIsParameter = true;
        config.WriteRows("Hall", hallRows);
        TRowSendCycle::TRows foyerRows;
        foyerRows.push_back(TextRow("Visitors: [Counter]", 60000));
        foyerRows.back()->SetScrollspeed(2);
        config.WriteRows("Foyer", foyerRows);
    }

    THttpClient::TReply Send(const std::string& method, const std::string& path, const std::string& body = {},
                             const std::vector<std::string>& headers = {}) {
        return client.Send(method, running->Url(path), body, headers);
    }
    json Document(const THttpClient::TReply& reply) { return ParseJsonText(reply.Body); }
    void Start(const std::string& token = "") { running = std::make_unique<TRunningSession>(config, token); }

    // Answers as the virtual display does, with a line break.
    TLoopbackDisplay hall{"VSIM 1.0\r\n"};
    TLoopbackDisplay foyer;
    ConfigurationDir config;
    std::unique_ptr<TRunningSession> running;
    THttpClient client;
};

TEST_F(ApiServerTest, ListsEverySourceAndFindsOneByItsDecodedName) {
    Start();
    const auto all = Send("GET", "/api/v1/sources");
    ASSERT_EQ(all.Status, 200);
    EXPECT_EQ(all.Header("Content-Type"), "application/json");
    const json sources = Document(all);
    ASSERT_EQ(sources.size(), 5u);
    EXPECT_EQ(sources[0], json::parse(R"({"name": "Counter", "kind": 3, "valueType": 0, "public": false,
                                          "lines": [], "changed": null, "error": null})"));
    EXPECT_EQ(sources[1]["public"], true);
    EXPECT_EQ(sources[2]["lines"], json::parse(R"(["Hej"])"));
    EXPECT_TRUE(sources[2]["changed"].get<std::string>().starts_with("20")) << sources[2];

    const auto one = Send("GET", "/api/v1/sources/Entr%C3%A9%20Norr");
    ASSERT_EQ(one.Status, 200);
    EXPECT_EQ(Document(one)["name"], "Entré Norr");

    const auto unknown = Send("GET", "/api/v1/sources/counter");
    EXPECT_EQ(unknown.Status, 404);
    EXPECT_EQ(Document(unknown)["error"], "There is no source \"counter\"");
}

TEST_F(ApiServerTest, APushedValueReachesTheDisplayThatShowsIt) {
    Start();
    ASSERT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("")));
    const auto reply = Send("PUT", "/api/v1/sources/Counter", R"({"value": "42"})");
    ASSERT_EQ(reply.Status, 200) << reply.Body;
    EXPECT_EQ(Document(reply)["lines"], json::parse(R"(["42"])"));
    EXPECT_FALSE(Document(reply)["changed"].is_null());
    EXPECT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("") + RowBytes("42\r\n"))) << hall.Received(0);

    EXPECT_EQ(Send("PUT", "/api/v1/sources/Counter", R"({"lines": ["7", "8"]})").Status, 200);
    EXPECT_EQ(Document(Send("GET", "/api/v1/sources/Counter"))["lines"], json::parse(R"(["7", "8"])"));
}

TEST_F(ApiServerTest, AScrollingRowKeepsItsScrollWhenItsValueChanges) {
    Start();
    ASSERT_TRUE(foyer.WaitReceived(0, Greeting + RowBytes("Visitors: ", 2)));
    ASSERT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("")));
    ASSERT_EQ(Send("PUT", "/api/v1/sources/Counter", R"({"value": "42"})").Status, 200);
    ASSERT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("") + RowBytes("42\r\n")));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(foyer.Received(0), Greeting + RowBytes("Visitors: ", 2));
}

TEST_F(ApiServerTest, AStaticSourceMarkedChangeableTakesTheValueAndIsSaved) {
    Start();
    const auto reply = Send("PUT", "/api/v1/sources/Opening", R"({"value": "2027-03-01"})");
    ASSERT_EQ(reply.Status, 200) << reply.Body;
    EXPECT_EQ(Document(reply)["lines"], json::parse(R"(["2027-03-01"])"));
    const auto saved = ReadListFile<TVDataSource>(DataSourcesFilePath(config.Path()));
    EXPECT_EQ(saved[1].Configuration(), "2027-03-01");
    EXPECT_EQ(saved[2].Configuration(), "Hej");
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(config.Path())) {
        files.push_back(entry.path().filename().string());
    }
    std::ranges::sort(files);
    EXPECT_EQ(files, (std::vector<std::string>{"Frame_Foyer-definedrows.json", "Frame_Hall-definedrows.json",
                                               "local-datasources.json", "local-displays.json"}))
        << "the save left no temporary file behind";
}

TEST_F(ApiServerTest, RefusesWhatASourceCannotTake) {
    Start();
    struct TCase {
        std::string Method, Path, Body;
        long Status;
        std::string Error;
    };
    const std::vector<TCase> cases = {
        {"PUT", "/api/v1/sources/Greeting", R"({"value": "x"})", 409, ""},
        {"PUT", "/api/v1/sources/Visitors", R"({"value": "x"})", 409, ""},
        {"PUT", "/api/v1/sources/Nobody", R"({"value": "x"})", 404, "There is no source \"Nobody\""},
        {"PUT", "/api/v1/sources/Counter", R"({"value": 42})", 400, "\"value\" must be a text"},
        {"PUT", "/api/v1/sources/Counter", R"({"value": "a", "lines": []})", 400, ""},
        {"PUT", "/api/v1/sources/Counter", R"({"value": "a|-dac"})", 400, ""},
        {"PUT", "/api/v1/sources/Counter", R"({"lines": "a"})", 400, "\"lines\" must be a list of texts"},
        {"PUT", "/api/v1/sources/Counter", "{broken", 400, "The request is not a JSON object"},
        {"PUT", "/api/v1/sources/Counter", "[1]", 400, "The request is not a JSON object"},
        {"PUT", "/api/v1/sources/Counter", R"({"value": ")" + std::string(70000, 'x') + R"("})", 413, ""},
        {"DELETE", "/api/v1/sources/Counter", "", 405, "This path does not take the method DELETE"},
        {"POST", "/api/v1/sources", "{}", 405, ""},
        {"GET", "/api/v2/sources", "", 404, "There is nothing at this path"},
        {"GET", "/api/v1/sources/", "", 404, ""},
    };
    for (const TCase& test : cases) {
        const auto reply = Send(test.Method, test.Path, test.Body);
        EXPECT_EQ(reply.Status, test.Status)
            << test.Method << " " << test.Path << " " << test.Body.substr(0, 40);
        EXPECT_EQ(reply.Header("Content-Type"), "application/json") << test.Path;
        const json document = Document(reply);
        ASSERT_TRUE(document.contains("error")) << reply.Body;
        if (!test.Error.empty()) {
            EXPECT_EQ(document["error"], test.Error);
        }
    }
    EXPECT_EQ(Send("DELETE", "/api/v1/sources/Counter").Header("Allow"), "GET, PUT");
    EXPECT_EQ(Document(Send("GET", "/api/v1/sources/Counter"))["lines"], json::array())
        << "nothing was taken";
}

TEST_F(ApiServerTest, ANotificationInterruptsTheRotationAndTheRowComesBackByteForByte) {
    Start();
    ASSERT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("")));
    const auto reply = Send("POST", "/api/v1/displays/Hall/notify", R"({"text": "Fire drill", "ms": 300})");
    ASSERT_EQ(reply.Status, 202) << reply.Body;
    EXPECT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("") + RowBytes("Fire drill") + RowBytes("")));

    const std::string options = R"({"text": "Look", "area": 0, "align": 2, "color": 3, "background": 2,
                                    "scroll": 1, "ms": 200})";
    ASSERT_EQ(Send("POST", "/api/v1/displays/Hall/notify", options).Status, 202);
    EXPECT_TRUE(
        hall.WaitReceived(0, Greeting + RowBytes("") + RowBytes("Fire drill") + RowBytes("") +
                                 "-sc0 -dc\r\n -sc1 -sg0,0,64,8 -f0 -cb2 -cf3 -sad2 -nss1 -t\"Look\"  \r\n" +
                                 "-sc1 -dc\r\n " + RowBytes("")))
        << hall.Received(0);
}

TEST_F(ApiServerTest, NotificationsQueueUpToEightAndRefuseWhatCannotBeShown) {
    Start();
    ASSERT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("")));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Send("POST", "/api/v1/displays/Hall/notify", R"({"text": "n", "ms": 60000})").Status, 202)
            << i;
    }
    const auto ninth = Send("POST", "/api/v1/displays/Hall/notify", R"({"text": "n"})");
    EXPECT_EQ(ninth.Status, 429);
    EXPECT_EQ(Document(ninth)["error"], "The display \"Hall\" has 8 notifications waiting already");

    struct TCase {
        std::string Path, Body;
        long Status;
    };
    const std::vector<TCase> cases = {
        {"/api/v1/displays/Nowhere/notify", R"({"text": "n"})", 404},
        {"/api/v1/displays/Foyer/notify", R"({"ms": 100})", 400},
        {"/api/v1/displays/Foyer/notify", R"({"text": "n", "ms": 0})", 400},
        {"/api/v1/displays/Foyer/notify", R"({"text": "n", "ms": 60001})", 400},
        {"/api/v1/displays/Foyer/notify", R"({"text": "n", "area": 9})", 400},
        {"/api/v1/displays/Foyer/notify", R"({"text": "n", "scroll": 17})", 400},
        {"/api/v1/displays/Foyer/notify", R"({"text": "n", "colour": 1})", 400},
        {"/api/v1/displays/Foyer/notify", R"({"text": "line\r\n-dac"})", 400},
    };
    for (const TCase& test : cases) {
        EXPECT_EQ(Send("POST", test.Path, test.Body).Status, test.Status) << test.Path << " " << test.Body;
    }
    running->OnDriver([](TDisplaySession& session) { session.Cycle("Foyer")->SetPause(true); });
    const auto paused = Send("POST", "/api/v1/displays/Foyer/notify", R"({"text": "n"})");
    EXPECT_EQ(paused.Status, 409);
    EXPECT_EQ(Document(paused)["error"], "The display \"Foyer\" is paused");
    running->OnDriver([](TDisplaySession& session) { session.SetConnected(false); });
    EXPECT_EQ(Document(Send("POST", "/api/v1/displays/Hall/notify", R"({"text": "n"})"))["error"],
              "The display \"Hall\" is not connected");
}

TEST_F(ApiServerTest, AnUnreachableDisplayIsReportedWithItsErrorAndRefusesNotifications) {
    config.AddDisplay("Cellar", DisplayType_Vorlix3Ip, clienttest::RefusingAddress());
    config.Write();
    Start();
    json cellar;
    ASSERT_TRUE(WaitUntil([&] {
        cellar = Document(Send("GET", "/api/v1/displays"))[2];
        return !cellar["lastError"].is_null();
    }));
    EXPECT_EQ(cellar["name"], "Cellar");
    EXPECT_EQ(cellar["connected"], false);
    EXPECT_EQ(cellar["connections"], 0);
    EXPECT_EQ(Document(Send("POST", "/api/v1/displays/Cellar/notify", R"({"text": "n"})"))["error"],
              "The display \"Cellar\" is not connected");
}

TEST_F(ApiServerTest, ReportsEveryDisplayAndTheMetrics) {
    Start();
    ASSERT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("")));
    ASSERT_TRUE(foyer.WaitReceived(0, Greeting + RowBytes("Visitors: ", 2)));
    const json displays = Document(Send("GET", "/api/v1/displays"));
    ASSERT_EQ(displays.size(), 2u);
    const json& first = displays[0];
    EXPECT_EQ(first["name"], "Hall");
    EXPECT_EQ(first["kind"], 4);
    EXPECT_EQ(first["width"], 64);
    EXPECT_EQ(first["brightness"], 50);
    EXPECT_EQ(first["connected"], true);
    EXPECT_EQ(first["paused"], false);
    EXPECT_EQ(first["softwareVersion"], "VSIM 1.0");
    EXPECT_EQ(
        first["currentRow"],
        json::parse(
            R"({"index": 0, "command": "-sc0 -sg0,0,64,16 -f1 -cb0 -cf1 -sad0 -nss0 -t\"[Counter]\"  "})"));
    EXPECT_FALSE(first["lastSent"].is_null());
    EXPECT_TRUE(first["lastError"].is_null());
    EXPECT_EQ(first["connections"], 1);

    const auto metrics = Send("GET", "/metrics");
    ASSERT_EQ(metrics.Status, 200);
    EXPECT_EQ(metrics.Header("Content-Type"), "text/plain; version=0.0.4");
    for (const std::string sample :
         {"vorlix_display_connected{display=\"Hall\"} 1\n",
          "vorlix_display_rows_sent_total{display=\"Foyer\"} 1\n",
          "# TYPE vorlix_display_send_failures_total counter\n",
          "vorlix_display_connections_total{display=\"Hall\"} 1\n",
          "vorlix_source_refresh_errors_total{source=\"Counter\"} 0\n",
          "vorlix_source_seconds_since_change{source=\"Greeting\"} ",
          "# TYPE vorlix_collection_pass_seconds gauge\nvorlix_collection_pass_seconds "}) {
        EXPECT_NE(metrics.Body.find(sample), std::string::npos) << sample << "\n" << metrics.Body;
    }
    EXPECT_EQ(metrics.Body.find("vorlix_source_seconds_since_change{source=\"Counter\"}"), std::string::npos)
        << "a source that never had a value has no age";

    const auto health = Send("GET", "/healthz");
    EXPECT_EQ(health.Status, 200);
    EXPECT_EQ(health.Body, "ok");
}

TEST_F(ApiServerTest, WithATokenEveryRequestNeedsIt) {
    Start("s3cret-token");
    struct TCase {
        std::vector<std::string> Headers;
        long Status;
    };
    const std::vector<TCase> cases = {
        {{}, 401},
        {{"Authorization: Bearer wrong-token!"}, 401},
        {{"Authorization: Bearer s3cret-toke"}, 401},
        {{"Authorization: Basic s3cret-token"}, 401},
        {{"Authorization: Bearer s3cret-token"}, 200},
    };
    for (const std::string path : {"/healthz", "/api/v1/displays", "/api/v1/sources/Counter"}) {
        for (const TCase& test : cases) {
            const auto reply = Send("GET", path, "", test.Headers);
            EXPECT_EQ(reply.Status, test.Status)
                << path << " " << (test.Headers.empty() ? "" : test.Headers[0]);
            if (reply.Status == 401) {
                EXPECT_EQ(reply.Header("WWW-Authenticate"), "Bearer");
            }
        }
    }
    EXPECT_EQ(Send("PUT", "/api/v1/sources/Counter", std::string(100000, 'x')).Status, 401)
        << "refused before the body is read";
    EXPECT_EQ(
        Send("PUT", "/api/v1/sources/Counter", R"({"value": "1"})", {"Authorization: Bearer s3cret-token"})
            .Status,
        200);
}

// A client that sends its request one byte a second holds one connection, never the ticks, and
// loses it when its time is up.
TEST_F(ApiServerTest, ASlowClientDelaysNeitherTheTicksNorOtherClients) {
    TRowSendCycle::TRows rows;
    rows.push_back(TextRow("A", 100));
    rows.push_back(TextRow("B", 100));
    config.WriteRows("Foyer", rows);
    Start();
    const int slow = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(running->Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(slow, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string request = "GET /api/v1/displays HTTP/1.1\r\nHost: x\r\n\r\n";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitUntil([this] { return foyer.Received(0).find(RowBytes("B")) != std::string::npos; }));
    const std::size_t before = foyer.Received(0).size();
    bool closedByServer = false;
    for (std::size_t i = 0; i < request.size() && !closedByServer; ++i) {
        closedByServer = send(slow, &request[i], 1, MSG_NOSIGNAL) != 1;
        EXPECT_EQ(Send("GET", "/healthz").Status, 200);
        std::this_thread::sleep_for(1s);
        // An answer (a 400) or the end of the connection.
        char answer = 0;
        closedByServer = closedByServer || recv(slow, &answer, 1, MSG_DONTWAIT) >= 0;
    }
    const auto took = std::chrono::steady_clock::now() - start;
    close(slow);
    EXPECT_TRUE(closedByServer) << "the request had 5 s";
    EXPECT_LT(took, 9s);
    // Two rows of 100 ms alternate: about one row per tick of 100 ms through all of it.
    const std::size_t rowsSent = (foyer.Received(0).size() - before) / RowBytes("A").size();
    EXPECT_GT(rowsSent, static_cast<std::size_t>(
                            std::chrono::duration_cast<std::chrono::milliseconds>(took).count() / 400))
        << rowsSent << " rows in " << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
        << " ms";
}

} // namespace
