#include "integration/ApiOptions.h"

#include "platform/VorlixError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TProgramOptions ProgramWithApi(TApiOptions& api) {
    return {"program", "", {}, ApiProgramOptions(api)};
}

TEST(ApiOptionsTest, ReadsTheEndpointOrSaysWhatIsWrongWithIt) {
    struct TCase {
        std::string Argument;
        std::string Address;
        std::uint16_t Port;
    };
    const std::vector<TCase> valid = {
        {"127.0.0.1:8080", "127.0.0.1", 8080},
        {"0.0.0.0:0", "0.0.0.0", 0},
        {"[::1]:65535", "::1", 65535},
        {"[fe80::1]:80", "fe80::1", 80},
    };
    for (const TCase& test : valid) {
        TApiOptions api;
        const TParsedArguments parsed = ParseProgramArguments(ProgramWithApi(api), {"--api", test.Argument});
        ASSERT_EQ(parsed.Request, TProgramRequest::Run) << test.Argument << ": " << parsed.Problem;
        ASSERT_TRUE(api.Endpoint);
        EXPECT_EQ(api.Endpoint->Address, test.Address);
        EXPECT_EQ(api.Endpoint->Port, test.Port);
        EXPECT_EQ(EndpointText(api.Endpoint->Address, api.Endpoint->Port), test.Argument);
    }
    for (const std::string wrong : {"127.0.0.1", "127.0.0.1:", "127.0.0.1:65536", "127.0.0.1:80x",
                                    "localhost:80", "::1:80", "[127.0.0.1]:80", "[::1:80", ":80"}) {
        TApiOptions api;
        const TParsedArguments parsed = ParseProgramArguments(ProgramWithApi(api), {"--api=" + wrong});
        EXPECT_EQ(parsed.Request, TProgramRequest::Wrong) << wrong;
        EXPECT_NE(parsed.Problem.find("--api needs ADDRESS:PORT"), std::string::npos) << parsed.Problem;
    }
}

TEST(ApiOptionsTest, TakesTheTokenFromItsFileOrTheEnvironmentAndWithoutOneOnlyLoopback) {
    TempDir dir;
    const std::string tokenFile = dir.Write("token", "s3cret\r\nignored\r\n").string();
    const std::string emptyFile = dir.Write("empty", "\n").string();
    const std::string blankToken = dir.Write("blank", "two words\n").string();
    const std::string hugeFile = dir.Write("huge", std::string(5000, 'x')).string();
    struct TCase {
        std::string Endpoint;
        std::string TokenFile;
        const char* Environment;
        // The token, or the start of the failure's message.
        std::string TokenOrFailure;
        bool Fails;
    };
    const std::vector<TCase> cases = {
        {"127.0.0.1:1", "", nullptr, "", false},
        {"127.8.9.10:1", "", nullptr, "", false},
        {"[::1]:1", "", nullptr, "", false},
        {"127.0.0.1:1", tokenFile, "other", "s3cret", false},
        {"0.0.0.0:1", "", "from-env", "from-env", false},
        {"[::]:1", tokenFile, nullptr, "s3cret", false},
        {"0.0.0.0:1", "", nullptr, "The API listens on 0.0.0.0:1 only with a token", true},
        {"[::]:1", "", "", "The API listens on [::]:1 only with a token", true},
        {"127.0.0.1:1", emptyFile, nullptr, "The token file", true},
        {"127.0.0.1:1", dir.Path().string(), nullptr, "The token file", true},
        {"127.0.0.1:1", hugeFile, nullptr, "The token file", true},
        {"127.0.0.1:1", blankToken, nullptr, "The API token must be printable ASCII", true},
        {"127.0.0.1:1", (dir / "missing").string(), nullptr, "The token file", true},
    };
    for (const TCase& test : cases) {
        TApiOptions api;
        std::vector<std::string> arguments = {"--api", test.Endpoint};
        if (!test.TokenFile.empty()) {
            arguments.insert(arguments.end(), {"--api-token-file", test.TokenFile});
        }
        ASSERT_EQ(ParseProgramArguments(ProgramWithApi(api), arguments).Request, TProgramRequest::Run);
        try {
            const auto settings = ApiSettings(api, test.Environment);
            ASSERT_TRUE(settings);
            EXPECT_FALSE(test.Fails) << test.Endpoint << " " << test.TokenFile;
            EXPECT_EQ(settings->Token, test.TokenOrFailure);
        } catch (const EVorlixError& failure) {
            EXPECT_TRUE(test.Fails) << failure.what();
            EXPECT_EQ(std::string(failure.what()).rfind(test.TokenOrFailure, 0), 0u) << failure.what();
        }
    }
    TApiOptions none;
    EXPECT_FALSE(ApiSettings(none, "token"));
    none.TokenFile = tokenFile;
    EXPECT_THROW(ApiSettings(none, nullptr), EVorlixError) << "a token file without --api is a mistake";
}

} // namespace
