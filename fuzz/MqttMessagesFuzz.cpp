// A message from the broker, of any topic and payload, as the MQTT bridge carries it into a
// session: it is done, or refused with a reason. The input is the topic, a line feed and the
// payload.

#include "FuzzCheck.h"
#include "FuzzSession.h"

#include "integration/MqttRequests.h"
#include "rows/DisplaySession.h"

namespace {

// Lives as long as the process. The bridge carries messages on the thread that drives the
// session, which here is the fuzzer's own.
TMqttRequests& Requests() {
    auto* session =
        new TDisplaySession(WriteSessionConfiguration(), [](const std::string&, const std::string&) {});
    session->Start();
    session->SetPaused(false);
    return *new TMqttRequests(*new TMqttTopics("vorlix"), *new TSessionOperations(*session));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TMqttRequests& requests = Requests();
    const std::string_view input = InputText(data, size);
    const std::size_t lineFeed = input.find('\n');
    const std::string topic(input.substr(0, lineFeed));
    const std::string payload(lineFeed == std::string_view::npos ? "" : input.substr(lineFeed + 1));
    const TOutcome outcome = requests.Carry(topic, payload);
    const bool carried = outcome.Kind == TOutcome::Done || outcome.Kind == TOutcome::Accepted;
    FuzzCheck(carried || !outcome.Reason.empty(), "a refusal says why");
    return 0;
}
