#include "datasources/DisplayDataSourceJSON.h"

#include "LocalHttpServer.h"
#include "RefreshUntilApplied.h"
#include "datasources/HttpFetch.h"
#include "platform/VorlixError.h"
#include "support/LoopbackSocket.h"
#include "support/TempDir.h"
#include "support/TestCertificate.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

using namespace std::chrono_literals;

// Holds a request in the server until the test lets it go (or 10 s pass, less than the client's
// 15 s time-out, so a client that waits for the answer is caught out).
class TGate {
public:
    void Arrive() {
        std::lock_guard lock(FLock);
        ++FArrived;
        FChanged.notify_all();
    }
    bool WaitArrived(int count) {
        std::unique_lock lock(FLock);
        return FChanged.wait_for(lock, 30s, [&] { return FArrived >= count; });
    }
    void WaitReleased() {
        std::unique_lock lock(FLock);
        FChanged.wait_for(lock, 10s, [&] { return FReleased; });
    }
    void Release() {
        std::lock_guard lock(FLock);
        FReleased = true;
        FChanged.notify_all();
    }
    int Arrived() {
        std::lock_guard lock(FLock);
        return FArrived;
    }

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    int FArrived = 0;
    bool FReleased = false;
};

// A port on 127.0.0.1 that nothing listens on.
int ClosedPort() {
    std::uint16_t port = 0;
    close(ListenOnLoopback(port, 1));
    return port;
}

std::string FetchFailure(TDisplayDataSourceJSON& source) {
    try {
        RefreshUntilApplied(source);
    } catch (const EVorlixError& error) {
        return error.what();
    }
    return "no failure";
}

class JsonFetch : public ::testing::Test {
protected:
    void SetUp() override {
        auto& server = Server.Server();
        server.Get("/doc", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(R"({"temp":21.5})", "application/json");
        });
        server.Get("/slow", [this](const httplib::Request&, httplib::Response& response) {
            Gate.Arrive();
            Gate.WaitReleased();
            Answered = true;
            response.set_content(R"({"temp":"late"})", "application/json");
        });
        server.Get("/agent", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content(R"({"agent":")" + request.get_header_value("User-Agent") + "\"}",
                                 "application/json");
        });
        server.Get("/moved", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("/doc");
        });
        server.Get("/loop", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("/loop");
        });
        server.Get("/missing",
                   [](const httplib::Request&, httplib::Response& response) { response.status = 404; });
        server.Get("/array", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("[1,2]", "application/json");
        });
        server.Get("/scalar", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("42", "application/json");
        });
        server.Get("/text", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("hello", "text/plain");
        });
        server.Get("/large", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string(THttpFetch::MaxBodySize + 1, 'x'), "text/plain");
        });
        // Without a length up front, so that the client has to stop reading by itself.
        server.Get("/large-chunked", [](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider("text/plain",
                                                  [](std::size_t offset, httplib::DataSink& sink) {
                                                      const std::string chunk(1024 * 1024, 'x');
                                                      if (offset > THttpFetch::MaxBodySize) {
                                                          sink.done();
                                                          return true;
                                                      }
                                                      return sink.write(chunk.data(), chunk.size());
                                                  });
        });
        server.Get("/limit", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string(THttpFetch::MaxBodySize, 'x'), "text/plain");
        });
        Server.Start();
    }

    void TearDown() override { Gate.Release(); }

    TestClock Clock{SomeMoment()};
    TGate Gate;
    std::atomic<bool> Answered{false};
    TLocalHttpServer Server;
};

TEST_F(JsonFetch, DueRefreshReturnsAtOnceWhileTheServerIsSlow) {
    TDisplayDataSourceJSON source("j", Server.Url("/slow") + "|temp");
    source.Value.SetText("old");
    EXPECT_FALSE(source.RefreshData());
    EXPECT_FALSE(Answered) << "the refresh did not wait for the answer";
    EXPECT_EQ(source.Value.Count(), 0u) << "a due refresh empties the value";

    ASSERT_TRUE(Gate.WaitArrived(1));
    Clock.Advance(5000);
    EXPECT_FALSE(source.RefreshData()) << "still in flight";
    EXPECT_FALSE(source.RefreshData());
    EXPECT_EQ(Gate.Arrived(), 1) << "no second fetch while one is in flight";

    Gate.Release();
    EXPECT_TRUE(RefreshUntilTrue(source));
    EXPECT_EQ(source.Value.Text(), "late");
    EXPECT_FALSE(source.RefreshData()) << "applied once; the next fetch waits for the interval";
}

TEST_F(JsonFetch, DestroyingTheSourceAbortsTheTransferInFlight) {
    auto source = std::make_unique<TDisplayDataSourceJSON>("j", Server.Url("/slow") + "|temp");
    EXPECT_FALSE(source->RefreshData());
    ASSERT_TRUE(Gate.WaitArrived(1));
    source.reset();
    EXPECT_FALSE(Answered) << "destroying did not wait for the server";
}

TEST_F(JsonFetch, ReconfiguringAbortsTheTransferInFlight) {
    TDisplayDataSourceJSON source("j", Server.Url("/slow") + "|temp");
    EXPECT_FALSE(source.RefreshData());
    ASSERT_TRUE(Gate.WaitArrived(1));
    source.Reinitialize(Server.Url("/doc") + "|temp");
    EXPECT_FALSE(Answered) << "reconfiguring did not wait for the server";
    EXPECT_FALSE(source.RefreshData()) << "the aborted fetch is dropped, the due time stays";
    EXPECT_EQ(source.Value.Count(), 0u);

    Clock.Advance(1001);
    EXPECT_TRUE(RefreshUntilApplied(source));
    EXPECT_EQ(source.Value.Text(), "21.5");
}

TEST_F(JsonFetch, FollowsRedirectsAndNamesItself) {
    TDisplayDataSourceJSON moved("j", Server.Url("/moved") + "|temp");
    EXPECT_TRUE(RefreshUntilApplied(moved));
    EXPECT_EQ(moved.Value.Text(), "21.5");

    TDisplayDataSourceJSON agent("j", Server.Url("/agent") + "|agent");
    EXPECT_TRUE(RefreshUntilApplied(agent));
    EXPECT_EQ(agent.Value.Text(), "vorlix-client/" VORLIX_VERSION);
}

TEST_F(JsonFetch, BodyUpToTheLimitIsRead) {
    THttpFetch fetch;
    EXPECT_EQ(fetch.Get(Server.Url("/limit")).size(), THttpFetch::MaxBodySize);
}

TEST_F(JsonFetch, FailuresNameTheUrlAndTheReason) {
    const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/doc";
    const struct {
        std::string url;
        std::string message;
        bool prefixOnly;
    } cases[] = {
        {Server.Url("/missing"), "HTTP GET " + Server.Url("/missing") + " failed: status 404", false},
        {Server.Url("/array"),
         "Invalid JSON document from " + Server.Url("/array") + ": the document is not a JSON object", false},
        {Server.Url("/scalar"),
         "Invalid JSON document from " + Server.Url("/scalar") + ": the document is not a JSON object",
         false},
        {Server.Url("/text"),
         "Invalid JSON document from " + Server.Url("/text") + ": [json.exception.parse_error", true},
        {Server.Url("/large"),
         "HTTP GET " + Server.Url("/large") + " failed: the response is larger than 8 MiB", false},
        {Server.Url("/large-chunked"),
         "HTTP GET " + Server.Url("/large-chunked") + " failed: the response is larger than 8 MiB", false},
        {Server.Url("/loop"), "HTTP GET " + Server.Url("/loop") + " failed: Maximum (5) redirects followed",
         false},
        {closed, "HTTP GET " + closed + " failed: ", true},
        {"file:///etc/hostname", "HTTP GET file:///etc/hostname failed: ", true},
        {"", "HTTP GET  failed: ", true},
    };
    for (const auto& c : cases) {
        TDisplayDataSourceJSON source("j", c.url + "|temp");
        const std::string failure = FetchFailure(source);
        if (c.prefixOnly) {
            EXPECT_TRUE(failure.starts_with(c.message)) << failure;
        } else {
            EXPECT_EQ(failure, c.message);
        }
        EXPECT_EQ(source.Value.Count(), 0u) << "the value stays empty";
        EXPECT_FALSE(source.RefreshData()) << "until the next due refresh";
    }
}

TEST(JsonFetchHttps, TrustsOnlyWhatItIsToldToTrust) {
    const TempDir dir;
    WriteTestCertificate(dir / "cert.pem", dir / "key.pem");
    TLocalHttpServer server((dir / "cert.pem").string(), (dir / "key.pem").string());
    server.Server().Get("/doc", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(R"({"secure":"yes"})", "application/json");
    });
    server.Start();
    TestClock clock(SomeMoment());

    TDisplayDataSourceJSON trusting("j", server.Url("/doc") + "|secure");
    trusting.SetCaFile((dir / "cert.pem").string());
    EXPECT_TRUE(RefreshUntilApplied(trusting));
    EXPECT_EQ(trusting.Value.Text(), "yes");

    TDisplayDataSourceJSON systemStore("j", server.Url("/doc") + "|secure");
    const std::string failure = FetchFailure(systemStore);
    EXPECT_TRUE(failure.starts_with("HTTP GET " + server.Url("/doc") + " failed: SSL certificate problem"))
        << failure;
}

} // namespace
