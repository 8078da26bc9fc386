// vorlix-client: keeps the displays of the configuration in the current directory up to date.

#include "ui/FormMultiDisplaysUI.h"
#include "ui/WindowIcon.h"

#include <QApplication>

#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(VorlixWindowIcon());
    // Without a readable working directory, the start-up reports the configuration as missing.
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::current_path(error);
    TFormMultiDisplays window(error ? std::string(".") : directory.string());
    window.show();
    return QApplication::exec();
}
