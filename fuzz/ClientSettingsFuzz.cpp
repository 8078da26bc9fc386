// The display clients' texts: any text is taken or refused as a serial or TCP/IP client's
// connection settings and as its configuration string, and resolves as a string to send. The
// clients are never started, so nothing connects.

#include "FuzzCheck.h"

#include "clients/DisplayClient.h"
#include "datasources/DisplayBase.h"

#include <memory>

namespace {

// Made once and kept: each client has a worker thread.
TDisplayClientBase& Client(TDisplayType type) {
    auto* client = TDisplayClientBase::CreateClient(TDisplayBase("Skylt", "", "", type), false).release();
    client->SetOnLogMessage([](const std::string&, const std::string&) {});
    return *client;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TDisplayClientBase& serial = Client(DisplayType_Vorlix3Com);
    static TDisplayClientBase& network = Client(DisplayType_Vorlix3Ip);
    const std::string text(InputText(data, size));
    for (TDisplayClientBase* client : {&serial, &network}) {
        Accepted([&] {
            client->SetDisplayConfig(text);
            client->Reinitialize(text);
            client->ResolvedConfigString(text);
        });
    }
    return 0;
}
