#include "simulator/SimRowPreview.h"

#include "rows/ConfigurationRow.h"
#include "simulator/SimDisplay.h"

std::string RowAloneString(const TConfigurationRow& row, int width, const TResolveReferences& resolve) {
    TCBFontSizes nothingShown;
    const std::string configString = row.ToVorlixString(static_cast<std::uint16_t>(width), nothingShown);
    return resolve ? resolve(configString) : configString;
}

void ShowRowAlone(TSimDisplay& display, const std::string& configString) {
    display.Execute("-dac");
    display.ExecuteConfigString(configString);
}

bool RowTextCutOff(const TConfigurationRow& row, int width, const TResolveReferences& resolve) {
    TSimDisplay display(width);
    ShowRowAlone(display, RowAloneString(row, width, resolve));
    return display.TextCutOff();
}
