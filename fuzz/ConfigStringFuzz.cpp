// Configuration strings and the display configuration model: any text splits and parses, and
// what the model writes parses again. (Written text need not read back the same: keys are found
// inside text values and empty values vanish, as displays expect.)

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
    for (const auto form : {TVorlix3Configuration::vcRaw, TVorlix3Configuration::vcVDProtocoll}) {
        TVorlix3Configuration reread;
        reread.Reinitialize(configuration.GetConfiguration(form));
        reread.GetConfiguration(form);
    }
    return 0;
}
