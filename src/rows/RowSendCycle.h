#pragma once

#include "log/DLogObject.h"
#include "platform/Clock.h"
#include "rows/ConfigurationRow.h"
#include "rows/RowOptions.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class TDisplayClientBase;
class TVDisplay;

// One display's rows and the cycle that shows them one after the other, each for its own display
// time: every tick (100 ms, driven by the owner) advances to the next row when the current one's
// time has run out, and hands the row's command string to the display's client. It also sends the
// display's brightness when it changes, clears the display once when its last row is gone, marks
// the row on the display, and keeps a gauge of the display time left. Starts paused.
//
// When the client has connected anew since the cycle last sent (the display was cleared by its
// greeting), the next tick sends the brightness and the current row again.
//
// A notification interrupts the rotation: it is shown at once for its display time, those queued
// behind it follow in order, and then the interrupted row is shown again from the start.
class TRowSendCycle {
public:
    // The display's record (width, brightness) or nullptr; the display's client or nullptr.
    using TDisplayLookup = std::function<const TVDisplay*()>;
    using TClientLookup = std::function<TDisplayClientBase*()>;

    TRowSendCycle(std::string name, TDisplayLookup display, TClientLookup client,
                  const TClock& clock = Clock());

    void TimSenddataTimer();

    bool Paused() const { return FPaused; }
    void SetPause(bool setPause) { FPaused = setPause; }

    using TRows = std::vector<std::unique_ptr<TConfigurationRow>>;

    // The rows in display order. Edit them through the operations below while the cycle runs.
    const TRows& Rows() const { return FRows; }
    TConfigurationRow& AddRow(std::unique_ptr<TConfigurationRow> row);
    // Puts `row` at `index` (at the end when past it), as for undoing a deletion.
    TConfigurationRow& InsertRow(std::size_t index, std::unique_ptr<TConfigurationRow> row);
    // Takes the row out and hands it back; nullptr when there is none at `index`.
    std::unique_ptr<TConfigurationRow> DeleteRow(std::size_t index);
    // Swaps the row at `index` with its neighbour above (-1) or below (+1); false at the ends.
    bool MoveRow(std::size_t index, int direction);
    void ReplaceRows(TRows rows);

    // The gauge: display time left of the current row in seconds, its maximum and main divisions.
    double GaugeValue() const { return FGaugeValue; }
    int GaugeMaximum() const { return FGaugeMaximum; }
    int GaugeDivisions() const { return FGaugeDivisions; }
    // Sets the gauge's scale from the longest display time of the rows.
    void RefreshGaugeScale();

    static constexpr std::size_t MaxNotifications = 8;
    // Shows `message` at once, or after the notifications before it; false, and nothing queued,
    // when MaxNotifications are already waiting or showing.
    bool Notify(std::unique_ptr<TConfigurationRow> message);
    // A source's value changed: when the row on the display shows it (as its source or by a
    // reference in its text) and does not scroll, it is sent again with its display time running
    // on. A scrolling row would start its scroll again, so it waits for its next turn.
    void ShowChangedValue(const std::string& sourceName);

    struct TState {
        bool Paused = true;
        // The index of the row on the display; none while nothing or a notification shows.
        std::optional<std::size_t> RowIndex;
        // The command of what the display shows; empty while it shows nothing of ours.
        std::string Command;
        // When the display last accepted a row; 0 for never.
        TDateTime LastSent = 0;
        std::uint64_t RowsSent = 0;
        std::uint64_t SendFailures = 0;
        std::size_t Notifications = 0;
    };
    TState State() const;

    // (source, message): source is the display's name; every sent row is logged.
    void SetOnLogMessage(TDLogMessage handler) { FOnLogMessage = std::move(handler); }
    // (configString, row): every configuration string the client took, with its references
    // replaced as they went out; `row` is the row it shows, nullptr for brightness and clearing.
    using TSent = std::function<void(const std::string& configString, const TConfigurationRow* row)>;
    void SetOnSent(TSent handler) { FOnSent = std::move(handler); }
    const std::string& Name() const { return FName; }

private:
    static constexpr std::size_t NoRow = std::numeric_limits<std::size_t>::max();

    void Advance(std::int64_t now);
    void ShowCurrentRow(std::int64_t now);
    void ShowNotification(std::int64_t now);
    // The front notification has had its time: the next one, or the rotation again.
    void EndNotification(std::int64_t now);
    // What the display shows of ours, or nullptr.
    const TConfigurationRow* ShowingRow() const;
    void SendRow(const TConfigurationRow& row, std::int64_t now);
    bool Send(TDisplayClientBase& client, const std::string& configString, const TConfigurationRow* row);
    bool ConnectedAnew(const TDisplayClientBase* client) const;
    void UpdateGauge(std::int64_t now);
    void Log(const std::string& message) const;

    const std::string FName;
    const TDisplayLookup FDisplay;
    const TClientLookup FClient;
    const TClock& FClock;
    mutable std::recursive_mutex FLock;

    TRows FRows;
    // NoRow before the first step, so that it lands on row 0.
    std::size_t FCurrentRowIndex = NoRow;
    // When the current row's display time ends, in milliseconds of the clock; 0 while nothing shows.
    std::int64_t FNextTimeout = 0;
    TCBFontSizes FLastDisplayedAreas;
    // The brightness the display has; none yet when above 100.
    unsigned FLastSentBrightness = 255;
    // The client's connection count when the cycle last sent to it.
    std::uint64_t FSentOnConnection = 0;
    bool FPaused = true;
    // The front one is on the display.
    std::deque<std::unique_ptr<TConfigurationRow>> FNotifications;
    std::string FShownCommand;
    TDateTime FLastSent = 0;
    std::uint64_t FRowsSent = 0;
    std::uint64_t FSendFailures = 0;

    double FGaugeValue = 0;
    int FGaugeMaximum = 0;
    int FGaugeDivisions = 5;
    TDLogMessage FOnLogMessage;
    TSent FOnSent;
};
