// The HTTP API behind the server: a request of any method, target and body gets an answer with a
// status code, through a session driven on its own thread as vorlix-headless drives it. The
// input is the method, a blank, the target, a line feed and the body.

#include "FuzzCheck.h"
#include "FuzzSession.h"

#include "integration/ApiRoutes.h"
#include "integration/ApiServer.h"
#include "integration/SessionGateway.h"
#include "rows/DisplaySession.h"

#include <memory>
#include <thread>

namespace {

// Lives as long as the process, with its driver.
const TApiRoutes& Routes() {
    auto* session =
        new TDisplaySession(WriteSessionConfiguration(), [](const std::string&, const std::string&) {});
    session->Start();
    session->SetPaused(false);
    std::thread([session] { session->RunTicks(); }).detach();
    return *new TApiRoutes(*new TSessionGateway(*session), "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TApiRoutes& routes = Routes();
    const std::string_view input = InputText(data, size);
    const std::string_view head = input.substr(0, input.find('\n'));
    const std::size_t blank = head.find(' ');
    TApiRequest request;
    request.Method = std::string(head.substr(0, blank));
    request.Path =
        ApiPathSegments(blank == std::string_view::npos ? "" : std::string(head.substr(blank + 1)));
    request.Body = head.size() < input.size() ? std::string(input.substr(head.size() + 1)) : "";
    const TApiAnswer answer = routes.Answer(request);
    FuzzCheck(answer.Status >= 200 && answer.Status < 600, "an answer has a status code");
    FuzzCheck(!answer.ContentType.empty(), "an answer has a content type");
    return 0;
}
