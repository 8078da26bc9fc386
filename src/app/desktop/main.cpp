// vorlix-client: keeps the displays of the configuration in the current directory up to date.

#include "platform/ProgramOptions.h"
#include "ui/FormMultiDisplaysUI.h"
#include "ui/WindowIcon.h"

#include <QApplication>
#include <QFont>

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

int main(int argc, char* argv[]) {
    // Answered before the toolkit starts, so that --help and --version need no display server.
    const TProgramOptions options{
        "vorlix-client",
        "Keeps the displays of the configuration in the working directory up to date.",
        {},
        {}};
    if (const auto status = AnswerProgramArguments(options, argc, argv, std::cout, std::cerr)) {
        return *status;
    }
    QApplication application(argc, argv);
    QApplication::setWindowIcon(VorlixWindowIcon());
    // The layout is measured in Tahoma and Calibri; where they are missing, take fonts of similar width.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans Condensed")});
    QFont::insertSubstitutions(QStringLiteral("Calibri"),
                               {QStringLiteral("Carlito"), QStringLiteral("DejaVu Sans Condensed")});
    // Without a readable working directory, the start-up reports the configuration as missing.
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::current_path(error);
    TFormMultiDisplays window(error ? std::string(".") : directory.string());
    window.show();
    return QApplication::exec();
}
