#include "integration/MqttOptions.h"
#include "platform/VorlixError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

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

TMqttOptions Read(const std::vector<std::string>& arguments) {
    TMqttOptions options;
    for (std::size_t at = 0; at < arguments.size();) {
        const std::size_t taken = ReadMqttOption(arguments, at, options);
        EXPECT_GT(taken, 0U) << arguments[at];
        at += taken == 0 ? 1 : taken;
    }
    return options;
}

TEST(MqttOptionsTest, OptionsAreReadWithTheirValues) {
    const TMqttOptions options =
        Read({"--mqtt", "mqtt://broker:1999", "--mqtt-prefix", "site/a", "--mqtt-client-id", "me",
              "--mqtt-publish-all", "--mqtt-credentials-file", "/x"});
    EXPECT_TRUE(options.Enabled());
    EXPECT_EQ(options.Url, "mqtt://broker:1999");
    EXPECT_EQ(options.Broker.Port, 1999);
    EXPECT_EQ(options.Prefix, "site/a");
    EXPECT_EQ(options.ClientId, "me");
    EXPECT_TRUE(options.PublishAll);
    EXPECT_EQ(options.CredentialsFile, "/x");
    EXPECT_FALSE(Read({}).Enabled());
    EXPECT_EQ(Read({}).Prefix, "vorlix");
}

TEST(MqttOptionsTest, OtherArgumentsAreLeftAndBadValuesRefused) {
    TMqttOptions options;
    EXPECT_EQ(ReadMqttOption({"DIR"}, 0, options), 0U);
    EXPECT_EQ(ReadMqttOption({"--api", "x"}, 0, options), 0U);
    EXPECT_THROW(ReadMqttOption({"--mqtt"}, 0, options), EVorlixError);
    for (const std::string prefix : {"", "a/+", "#", "/a", "a/"}) {
        EXPECT_THROW(ReadMqttOption({"--mqtt-prefix", prefix}, 0, options), EVorlixError) << prefix;
    }
}

TEST(MqttOptionsTest, ClientIdDefaultsToHostAndProcess) {
    TMqttOptions options;
    CompleteMqttOptions(options, [](const char*) -> const char* { return nullptr; });
    EXPECT_TRUE(options.ClientId.starts_with("vorlix-")) << options.ClientId;
    EXPECT_TRUE(options.ClientId.ends_with("-" + std::to_string(getpid()))) << options.ClientId;
    EXPECT_TRUE(options.User.empty());
}

TEST(MqttOptionsTest, CredentialsComeFromTheFileElseTheEnvironment) {
    const auto environment = [](const char* name) -> const char* {
        return std::string(name) == "VORLIX_MQTT_USER" ? "envuser" : "envpass";
    };
    TMqttOptions fromEnvironment;
    CompleteMqttOptions(fromEnvironment, environment);
    EXPECT_EQ(fromEnvironment.User, "envuser");
    EXPECT_EQ(fromEnvironment.Password, "envpass");

    TempDir dir;
    TMqttOptions fromFile;
    fromFile.CredentialsFile = dir.Write("credentials", "fileuser\r\nfile pass\n").string();
    CompleteMqttOptions(fromFile, environment);
    EXPECT_EQ(fromFile.User, "fileuser");
    EXPECT_EQ(fromFile.Password, "file pass");
}

TEST(MqttOptionsTest, FaultyCredentialsFilesAreRefused) {
    TempDir dir;
    const auto none = [](const char*) -> const char* { return nullptr; };
    for (const std::string& content : {std::string("only one line"), std::string(5000, 'x') + "\nb\n"}) {
        TMqttOptions options;
        options.CredentialsFile = dir.Write("credentials", content).string();
        EXPECT_THROW(CompleteMqttOptions(options, none), EVorlixError);
    }
    TMqttOptions missing;
    missing.CredentialsFile = (dir / "missing").string();
    EXPECT_THROW(CompleteMqttOptions(missing, none), EVorlixError);
}

} // namespace
