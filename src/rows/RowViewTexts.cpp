#include "rows/RowViewTexts.h"

#include "platform/SprintF.h"
#include "rows/ConfigurationRow.h"
#include "rows/ConfigurationTexts.h"
#include "rows/SettingLookup.h"

TRowViewTexts TRowViewTexts::Of(const TConfigurationRow& row, const TFrameDatasourceQuery& query) {
    const TConfigurationTexts& texts = ConfigurationTexts();
    TRowViewTexts view;
    view.Text = row.TextIsParameter && query ? SprintF("%s(%s)", row.Text, query(row.Text)) : row.Text;
    view.Font = SettingLabel(row.Size(), texts.FontSize);
    view.Align = SettingLabel(row.Align(), texts.FontAlign);
    view.FgColor = SettingLabel(row.ForegroundColor(), texts.Colors);
    view.BgColor = SettingLabel(row.BackgroundColor(), texts.Colors);
    view.Scroll = SettingLabel(row.Scrollspeed(), texts.ScrollSpeed);
    view.Timeout = std::to_string(row.Timeout);
    return view;
}
