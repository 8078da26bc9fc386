#include "rows/RowSendCycle.h"

#include "clients/DisplayClient.h"
#include "config/VDisplay.h"
#include "platform/SprintF.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr std::uint16_t DefaultWidth = 64;

} // namespace

TRowSendCycle::TRowSendCycle(std::string name, TDisplayLookup display, TClientLookup client,
                             const TClock& clock)
    : FName(std::move(name)), FDisplay(std::move(display)), FClient(std::move(client)), FClock(clock) {
    RefreshGaugeScale();
}

void TRowSendCycle::TimSenddataTimer() {
    std::lock_guard lock(FLock);
    if (FPaused) {
        return;
    }
    const std::int64_t now = DateTimeToMSecs(FClock.Now());
    const bool connectedAnew = ConnectedAnew(FClient());
    if (connectedAnew) {
        // The greeting cleared the display and may have set another brightness.
        FLastDisplayedAreas.Clear();
        FLastSentBrightness = 255;
    }
    if (now > FNextTimeout) {
        if (FNotifications.empty()) {
            Advance(now);
        } else {
            EndNotification(now);
        }
    } else if (const TConfigurationRow* showing = ShowingRow(); connectedAnew && showing != nullptr) {
        SendRow(*showing, now);
    }
    UpdateGauge(now);
}

bool TRowSendCycle::Notify(std::unique_ptr<TConfigurationRow> message) {
    std::lock_guard lock(FLock);
    if (FNotifications.size() >= MaxNotifications) {
        return false;
    }
    FNotifications.push_back(std::move(message));
    if (FNotifications.size() == 1) {
        if (FCurrentRowIndex < FRows.size()) {
            FRows[FCurrentRowIndex]->Mark(false);
        }
        ShowNotification(DateTimeToMSecs(FClock.Now()));
    }
    return true;
}

void TRowSendCycle::ShowNotification(std::int64_t now) {
    const TConfigurationRow& message = *FNotifications.front();
    FNextTimeout = now + message.Timeout;
    SendRow(message, now);
    UpdateGauge(now);
}

void TRowSendCycle::EndNotification(std::int64_t now) {
    FNotifications.pop_front();
    if (!FNotifications.empty()) {
        ShowNotification(now);
    } else if (FCurrentRowIndex < FRows.size()) {
        ShowCurrentRow(now);
    } else {
        Advance(now);
    }
}

void TRowSendCycle::ShowChangedValue(const std::string& sourceName) {
    std::lock_guard lock(FLock);
    const TConfigurationRow* showing = ShowingRow();
    if (FPaused || showing == nullptr || showing->Scrollspeed() != 0) {
        return;
    }
    const bool shows = showing->TextIsParameter
                           ? showing->Text == sourceName
                           : showing->Text.find('[' + sourceName + ']') != std::string::npos;
    if (shows) {
        SendRow(*showing, DateTimeToMSecs(FClock.Now()));
    }
}

const TConfigurationRow* TRowSendCycle::ShowingRow() const {
    if (!FNotifications.empty()) {
        return FNotifications.front().get();
    }
    return FNextTimeout > 0 && FCurrentRowIndex < FRows.size() ? FRows[FCurrentRowIndex].get() : nullptr;
}

TRowSendCycle::TState TRowSendCycle::State() const {
    std::lock_guard lock(FLock);
    TState state;
    state.Paused = FPaused;
    if (FNotifications.empty() && ShowingRow() != nullptr) {
        state.RowIndex = FCurrentRowIndex;
    }
    state.Command = FShownCommand;
    state.LastSent = FLastSent;
    state.RowsSent = FRowsSent;
    state.SendFailures = FSendFailures;
    state.Notifications = FNotifications.size();
    return state;
}

void TRowSendCycle::Advance(std::int64_t now) {
    if (FCurrentRowIndex < FRows.size()) {
        FRows[FCurrentRowIndex]->Mark(false);
    }
    ++FCurrentRowIndex;
    if (FCurrentRowIndex >= FRows.size()) {
        FCurrentRowIndex = 0;
    }
    if (FRows.size() == 0) {
        TDisplayClientBase* client = FClient();
        if (FNextTimeout > 0 && client != nullptr) {
            Send(*client, "-dac", nullptr);
        }
        FNextTimeout = 0;
        FShownCommand.clear();
        return;
    }
    ShowCurrentRow(now);
}

void TRowSendCycle::ShowCurrentRow(std::int64_t now) {
    const TConfigurationRow& row = *FRows[FCurrentRowIndex];
    row.Mark(true);
    FNextTimeout = now + row.Timeout;
    SendRow(row, now);
}

void TRowSendCycle::SendRow(const TConfigurationRow& row, std::int64_t now) {
    const TVDisplay* display = FDisplay();
    const std::string command =
        row.ToVorlixString(display != nullptr ? display->Width() : DefaultWidth, FLastDisplayedAreas);
    Log(SprintF("(%d)%s", static_cast<long long>(std::max<std::int64_t>(FNextTimeout - now, 0)), command));
    TDisplayClientBase* client = FClient();
    if (client == nullptr) {
        return;
    }
    // Read before sending: a connection made while we send is restored at the next tick.
    FSentOnConnection = client->ConnectionCount();
    if (display != nullptr && display->Brightness() != FLastSentBrightness &&
        Send(*client, SprintF("-i%d", static_cast<int>(display->Brightness())), nullptr)) {
        FLastSentBrightness = display->Brightness();
    }
    FShownCommand = command;
    if (Send(*client, command, &row)) {
        ++FRowsSent;
        FLastSent = FClock.Now();
    } else {
        ++FSendFailures;
    }
}

bool TRowSendCycle::Send(TDisplayClientBase& client, const std::string& configString,
                         const TConfigurationRow* row) {
    const bool written = client.SendConfigString(configString);
    if (written && FOnSent) {
        FOnSent(client.ResolvedConfigString(configString), row);
    }
    return written;
}

bool TRowSendCycle::ConnectedAnew(const TDisplayClientBase* client) const {
    return client != nullptr && client->ConnectionCount() != FSentOnConnection;
}

void TRowSendCycle::UpdateGauge(std::int64_t now) {
    FGaugeValue = now >= FNextTimeout ? 0.0 : static_cast<double>(FNextTimeout - now) / 1000.0;
}

void TRowSendCycle::RefreshGaugeScale() {
    std::lock_guard lock(FLock);
    std::uint32_t longest = 0;
    for (const auto& row : FRows) {
        longest = std::max(longest, row->Timeout);
    }
    auto seconds = static_cast<int>(std::nearbyint(longest / 1000.0));
    if (seconds % 2 != 0) {
        ++seconds;
    }
    FGaugeMaximum = seconds;
    FGaugeDivisions = seconds % 5 == 0 ? 5 : seconds % 4 == 0 ? 4 : seconds % 3 == 0 ? 3 : 2;
}

TConfigurationRow& TRowSendCycle::AddRow(std::unique_ptr<TConfigurationRow> row) {
    std::lock_guard lock(FLock);
    return *FRows.emplace_back(std::move(row));
}

TConfigurationRow& TRowSendCycle::InsertRow(std::size_t index, std::unique_ptr<TConfigurationRow> row) {
    std::lock_guard lock(FLock);
    const auto position = FRows.begin() + static_cast<std::ptrdiff_t>(std::min(index, FRows.size()));
    return **FRows.insert(position, std::move(row));
}

std::unique_ptr<TConfigurationRow> TRowSendCycle::DeleteRow(std::size_t index) {
    std::lock_guard lock(FLock);
    if (index >= FRows.size()) {
        return nullptr;
    }
    std::unique_ptr<TConfigurationRow> row = std::move(FRows[index]);
    FRows.erase(FRows.begin() + static_cast<std::ptrdiff_t>(index));
    return row;
}

bool TRowSendCycle::MoveRow(std::size_t index, int direction) {
    std::lock_guard lock(FLock);
    const auto target = static_cast<std::ptrdiff_t>(index) + direction;
    if (index >= FRows.size() || target < 0 || static_cast<std::size_t>(target) >= FRows.size()) {
        return false;
    }
    std::swap(FRows[index], FRows[static_cast<std::size_t>(target)]);
    return true;
}

void TRowSendCycle::ReplaceRows(TRows rows) {
    std::lock_guard lock(FLock);
    FRows = std::move(rows);
}

void TRowSendCycle::Log(const std::string& message) const {
    if (FOnLogMessage) {
        FOnLogMessage(FName, message);
    }
}
