// Configuration strings and the display configuration model: any text splits and parses; what
// the model writes reads back to the same text.

#include "FuzzCheck.h"

#include "protocol/ConfigString.h"
#include "protocol/VorlixConfiguration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = InputText(data, size);
    SplitConfigString(text);
    TVorlix3Configuration configuration;
    if (!Accepted([&] { configuration.Reinitialize(text); })) {
        return 0;
    }
    configuration.GetConfiguration(TVorlix3Configuration::vcVDProtocoll);
    const std::string written = configuration.GetConfiguration(TVorlix3Configuration::vcRaw);
    TVorlix3Configuration reread;
    reread.Reinitialize(written);
    FuzzCheck(reread.GetConfiguration(TVorlix3Configuration::vcRaw) == written,
              "a written configuration reads back to the same text");
    return 0;
}
