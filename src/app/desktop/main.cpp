// vorlix-client: keeps the displays of the configuration in the current directory up to date.

#include "ui/FormMultiDisplaysUI.h"
#include "ui/WindowIcon.h"

#include <QApplication>
#include <QFont>

#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char* argv[]) {
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
