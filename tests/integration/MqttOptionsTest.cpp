#include "integration/MqttOptions.h"
#include "platform/VorlixError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <unistd.h>

namespace {

struct TUrlCase {
    std::string Url;
    std::string Host;
    std::uint16_t Port;
    bool Tls;
};

TEST(MqttOptionsTest, UrlsGiveHostPortAndTls) {
    const TUrlCase cases[] = {
        {"mqtt://broker.example", "broker.example", 1883, false},
        {"mqtt://10.0.0.5:1999", "10.0.0.5", 1999, false},
        {"mqtts://broker.example", "broker.example", 8883, true},
        {"mqtts://broker.example:443/", "broker.example", 443, true},
        {"mqtt://[::1]", "::1", 1883, false},
        {"mqtt://[::1]:2000", "::1", 2000, false},
    };
    for (const TUrlCase& c : cases) {
        const TMqttBroker broker = ParseMqttUrl(c.Url);
        EXPECT_EQ(broker.Host, c.Host) << c.Url;
        EXPECT_EQ(broker.Port, c.Port) << c.Url;
        EXPECT_EQ(broker.Tls, c.Tls) << c.Url;
    }
}

TEST(MqttOptionsTest, BadUrlsAreRefusedWithTheirReason) {
    const std::map<std::string, std::string> cases = {
        {"http://broker", "it must begin with mqtt:// or mqtts://"},
        {"mqtt://", "the host is missing"},
        {"mqtt://:1883", "the host is missing"},
        {"mqtt://broker:", "the port is missing after the colon"},
        {"mqtt://broker:0", "the port must be a number from 1 to 65535"},
        {"mqtt://broker:65536", "the port must be a number from 1 to 65535"},
        {"mqtt://broker:12x", "the port must be a number from 1 to 65535"},
        {"mqtt://broker/topic", "only a host and a port may follow the scheme"},
        {"mqtt://user@broker", "only a host and a port may follow the scheme"},
        {"mqtt://[::1", "an IPv6 address needs its closing bracket"},
        {"mqtt://[::1]x", "only a port may follow the address"},
    };
    for (const auto& [url, reason] : cases) {
        try {
            ParseMqttUrl(url);
            ADD_FAILURE() << url << " was accepted";
        } catch (const EVorlixError& error) {
            EXPECT_EQ(error.what(), "Invalid MQTT broker URL \"" + url + "\": " + reason);
        }
    }
}

const char* NoVariable(const char*) {
    return nullptr;
}

// Reads `arguments` with the bridge's options and one operand, DIR, as a program would.
TParsedArguments Parse(const std::vector<std::string>& arguments, TMqttOptions& options) {
    std::string directory;
    TProgramOptions program{"test", "", {{"DIR", SetText(directory)}}, {}};
    AddMqttProgramOptions(program.Options, options);
    return ParseProgramArguments(program, arguments);
}

TEST(MqttOptionsTest, OptionsAreReadWithTheirValues) {
    TMqttOptions options;
    ASSERT_EQ(Parse({"--mqtt", "mqtt://broker:1999", "--mqtt-prefix=site/a", "DIR", "--mqtt-client-id", "me",
                     "--mqtt-publish-all"},
                    options)
                  .Request,
              TProgramRequest::Run);
    CompleteMqttOptions(options, NoVariable);
    EXPECT_TRUE(options.Enabled());
    EXPECT_EQ(options.Url, "mqtt://broker:1999");
    EXPECT_EQ(options.Broker.Port, 1999);
    EXPECT_EQ(options.Prefix, "site/a");
    EXPECT_EQ(options.ClientId, "me");
    EXPECT_TRUE(options.PublishAll);
    EXPECT_TRUE(options.User.empty());
}

TEST(MqttOptionsTest, WithoutAUrlThereIsNoBridge) {
    TMqttOptions options;
    ASSERT_EQ(Parse({"DIR", "--mqtt-prefix", "site"}, options).Request, TProgramRequest::Run);
    CompleteMqttOptions(options, NoVariable);
    EXPECT_FALSE(options.Enabled());
    EXPECT_TRUE(options.ClientId.empty());
}

TEST(MqttOptionsTest, BadValuesAreRefusedWithTheReason) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"DIR", "--mqtt"}, "--mqtt needs a value"},
        {{"DIR", "--mqtt", "http://b"},
         "Invalid MQTT broker URL \"http://b\": it must begin with mqtt:// or mqtts://"},
        {{"DIR", "--mqtt-prefix", ""}, "Invalid MQTT topic prefix \"\""},
        {{"DIR", "--mqtt-prefix", "a/+"}, "Invalid MQTT topic prefix \"a/+\""},
        {{"DIR", "--mqtt-prefix", "#"}, "Invalid MQTT topic prefix \"#\""},
        {{"DIR", "--mqtt-prefix", "/a"}, "Invalid MQTT topic prefix \"/a\""},
        {{"DIR", "--mqtt-prefix", "a/"}, "Invalid MQTT topic prefix \"a/\""},
    };
    for (const auto& [arguments, problem] : cases) {
        TMqttOptions options;
        const TParsedArguments parsed = Parse(arguments, options);
        EXPECT_EQ(parsed.Request, TProgramRequest::Wrong) << problem;
        EXPECT_TRUE(parsed.Problem.starts_with(problem)) << parsed.Problem;
    }
}

TMqttOptions Completed(const std::vector<std::string>& arguments, const TEnvironment& environment) {
    TMqttOptions options;
    EXPECT_EQ(Parse(arguments, options).Request, TProgramRequest::Run);
    CompleteMqttOptions(options, environment);
    return options;
}

TEST(MqttOptionsTest, ClientIdDefaultsToHostAndProcess) {
    const std::string id = Completed({"--mqtt", "mqtt://b", "DIR"}, NoVariable).ClientId;
    EXPECT_TRUE(id.starts_with("vorlix-")) << id;
    EXPECT_TRUE(id.ends_with("-" + std::to_string(getpid()))) << id;
}

const char* Environment(const char* name) {
    return std::string(name) == "VORLIX_MQTT_USER" ? "envuser" : "envpass";
}

TEST(MqttOptionsTest, CredentialsComeFromTheFileElseTheEnvironment) {
    const TMqttOptions fromEnvironment = Completed({"--mqtt", "mqtt://b", "DIR"}, Environment);
    EXPECT_EQ(fromEnvironment.User, "envuser");
    EXPECT_EQ(fromEnvironment.Password, "envpass");

    TempDir dir;
    const TMqttOptions fromFile = Completed({"--mqtt", "mqtt://b", "DIR", "--mqtt-credentials-file",
                                             dir.Write("credentials", "fileuser\r\nfile pass\n").string()},
                                            Environment);
    EXPECT_EQ(fromFile.User, "fileuser");
    EXPECT_EQ(fromFile.Password, "file pass");
}

TEST(MqttOptionsTest, FaultyCredentialsFilesAreRefused) {
    TempDir dir;
    const std::string files[] = {dir.Write("one", "only one line").string(),
                                 dir.Write("long", std::string(5000, 'x') + "\nb\n").string(),
                                 (dir / "missing").string()};
    for (const std::string& file : files) {
        TMqttOptions options;
        ASSERT_EQ(Parse({"--mqtt", "mqtt://b", "--mqtt-credentials-file", file, "DIR"}, options).Request,
                  TProgramRequest::Run);
        EXPECT_THROW(CompleteMqttOptions(options, NoVariable), EVorlixError) << file;
    }
}

} // namespace
