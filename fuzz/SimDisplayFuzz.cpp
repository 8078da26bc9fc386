// The virtual display's state: any command lines and configuration strings are executed, and the
// display can always draw its frame.

#include "FuzzCheck.h"

#include "simulator/SimDisplay.h"
#include "simulator/SimLineReader.h"
#include "support/TestClock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TestClock clock;
    const std::string_view text = InputText(data, size);
    TSimDisplay display(128, clock);
    TSimLineReader reader;
    Accepted([&] {
        for (const std::string& line : reader.Feed(text)) {
            display.Execute(line);
            clock.Advance(100);
            display.Frame();
        }
        display.ExecuteConfigString(text);
        display.Frame();
        display.Brightness();
        display.TextCutOff();
    });
    return 0;
}
