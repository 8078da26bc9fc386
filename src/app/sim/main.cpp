// vorlix-sim: a virtual Vorlix3 display. Display clients reach it over TCP or a pseudo-terminal;
// it shows what they send in a window, or runs without one for tests and documentation.

#include "SimWindow.h"

#include "platform/SignalWaiter.h"
#include "simulator/SimOptions.h"
#include "simulator/SimPng.h"

#include <QApplication>
#include <QMetaObject>

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>

namespace {

// Writes the frame as PNG; a failure is reported and the display goes on.
void Dump(const TSimDisplay& display, const TSimOptions& options) {
    if (options.Dump.empty()) {
        return;
    }
    try {
        WritePng(options.Dump, RenderLeds(display.Frame(), display.Brightness(), options.Zoom));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Cannot write %s: %s\n", options.Dump.c_str(), error.what());
    }
}

// Without a window the main thread only waits for a stop signal.
int RunHeadless(const TSimDisplay& display, const TSimOptions& options) {
    {
        TSignalWaiter waiter({}, {{SIGUSR1, [&] { Dump(display, options); }}});
        waiter.WaitForStop();
    }
    Dump(display, options);
    return 0;
}

int RunWindow(int argc, char** argv, const TSimDisplay& display, const TSimOptions& options,
              const QString& title) {
    QApplication application(argc, argv);
    TSimWindow window(display, options.Zoom, title);
    window.show();
    {
        TSignalWaiter waiter(
            [&] { QMetaObject::invokeMethod(&application, &QApplication::quit, Qt::QueuedConnection); },
            {{SIGUSR1, [&] { Dump(display, options); }}});
        application.exec();
    }
    Dump(display, options);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    TSimOptions options;
    if (const auto status =
            AnswerProgramArguments(SimProgramOptions(options), argc, argv, std::cout, std::cerr)) {
        return *status;
    }
    TSignalWaiter::BlockSignals({SIGUSR1});
    try {
        TSimDisplay display(options.Width);
        TSimServer server(display, options.Server);
        std::printf("Listening on %s:%d\n", options.Server.Bind.c_str(), server.Port());
        if (!server.PtyPath().empty()) {
            std::printf("Pseudo-terminal %s\n", server.PtyPath().c_str());
        }
        std::fflush(stdout);
        if (options.Headless) {
            return RunHeadless(display, options);
        }
        const QString title =
            QString("vorlix-sim %1:%2").arg(QString::fromStdString(options.Server.Bind)).arg(server.Port());
        return RunWindow(argc, argv, display, options, title);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
