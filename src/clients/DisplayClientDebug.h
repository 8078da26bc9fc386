#pragma once

#include "clients/DisplayClient.h"

struct TDisplayBase;

// Stands for a display that does not exist: instead of sending, it writes what it would show
// into the log. Its configuration string lists the variables it follows, "[Temp]|[Time]".
// Nothing can fail on the way to the log: it is connected while it runs, since it last started.
class TDisplayClientDebug final : public TDisplayClientBase {
public:
    // Always starts running.
    explicit TDisplayClientDebug(const TDisplayBase& displaybase);
    ~TDisplayClientDebug() override;

    void ThreadSuspend() override;
    void ThreadStart() override;
    TConnectionStatus ConnectionStatus() const override;

protected:
    // Adds every listed variable with an empty value; variables listed before stay.
    void ApplyConfiguration(const std::string& configuration) override;
    // Logs the values of the view, in its order.
    bool SendVariables(const TVariables& view) override;

private:
    void SetRunning(bool running);

    // Guarded by the client's lock.
    TDateTime FRunningSince;
};
