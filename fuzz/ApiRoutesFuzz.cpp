// The HTTP API behind the server: a request of any method, target and body gets an answer with a
// status code, through a session driven on its own thread as vorlix-headless drives it. The
// input is the method, a blank, the target, a line feed and the body.

#include "FuzzCheck.h"
#include "FuzzFiles.h"

#include "config/ConfigurationFiles.h"
#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayType.h"
#include "integration/ApiRoutes.h"
#include "integration/ApiServer.h"
#include "integration/SessionGateway.h"
#include "rows/DisplaySession.h"

#include <memory>
#include <thread>

namespace {

// A static source and a TCP/IP display that is never connected.
std::string WriteConfiguration() {
    const std::filesystem::path directory = ScratchFile("session");
    std::filesystem::create_directories(directory);
    TBaseObjectList<TVDataSource> sources;
    auto& source = sources.Add(std::make_unique<TVDataSource>());
    source.SetName("Besökare");
    source.SetDataSourceType(DisplayDataSourceType_Static);
    source.SetConfiguration("12");
    source.SetPublicChangeable(true);
    WriteListFile(DataSourcesFilePath(directory.string()), sources);
    TBaseObjectList<TVDisplay> displays;
    auto& display = displays.Add(std::make_unique<TVDisplay>());
    display.SetName("Entre");
    display.SetDisplayType(DisplayType_Vorlix3Ip);
    display.SetWidth(128);
    display.SetDisplaySettings("127.0.0.1:9");
    WriteListFile(DisplaysFilePath(directory.string()), displays);
    return directory.string();
}

// Lives as long as the process, with its driver.
const TApiRoutes& Routes() {
    auto* session = new TDisplaySession(WriteConfiguration(), [](const std::string&, const std::string&) {});
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
