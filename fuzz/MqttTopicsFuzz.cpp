// What the MQTT bridge reads from outside before a message reaches the session: the broker's URL,
// an incoming topic and the names it turns into topic levels. A requested level is one level: no
// "/", "+" or "#" in it. The payloads are the HTTP API's bodies (PushRequests).

#include "FuzzCheck.h"

#include "integration/MqttOptions.h"
#include "integration/MqttTopics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(InputText(data, size));
    Accepted([&] { ParseMqttUrl(text); });
    const TMqttTopics::TRequest request = TMqttTopics("vorlix").Request(text);
    FuzzCheck(request.Kind != TMqttTopics::TRequest::None || request.Level.empty(),
              "no level without a request");
    const std::string level = TopicLevel(text);
    FuzzCheck(level.find_first_of("/+#") == std::string::npos, "a name becomes one topic level");
    return 0;
}
