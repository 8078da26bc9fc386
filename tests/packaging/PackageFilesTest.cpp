#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

namespace {

using namespace std::chrono_literals;

// The output of a program that must succeed.
std::string OutputOf(const std::vector<std::string>& arguments) {
    ChildProcess program(arguments);
    EXPECT_EQ(program.WaitForExit(240s), 0) << program.Output();
    return program.Output();
}

// The paths of the package's files and directories, as dpkg-deb -c lists them ("./usr/bin/...").
std::set<std::string> Paths(const std::string& listing) {
    std::set<std::string> paths;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find(" ./");
        if (at != std::string::npos) {
            std::string path = line.substr(at + 1);
            paths.insert(path.substr(0, path.find(" -> ")));
        }
    }
    return paths;
}

TEST(PackageFilesTest, HoldsTheProgramsTheServiceTheDesktopFilesTheManPagesAndTheDemo) {
    const TempDir dir;
    OutputOf({VORLIX_CPACK, "-G", "DEB", "--config", VORLIX_CPACK_CONFIG, "-B", dir.Path().string()});
    std::filesystem::path deb;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        if (entry.path().extension() == ".deb") {
            deb = entry.path();
        }
    }
    ASSERT_FALSE(deb.empty());
    EXPECT_EQ(deb.filename().string().rfind("vorlix-client_" VORLIX_VERSION "_", 0), 0u) << deb;

    const std::set<std::string> paths = Paths(OutputOf({VORLIX_DPKG_DEB, "-c", deb.string()}));
    for (const char* expected : {
             "./usr/bin/vorlix-client",
             "./usr/bin/vorlix-headless",
             "./usr/bin/vorlix-sim",
             "./lib/systemd/system/vorlix-headless@.service",
             "./usr/share/applications/vorlix-client.desktop",
             "./usr/share/applications/vorlix-sim.desktop",
             "./usr/share/icons/hicolor/scalable/apps/vorlix-client.svg",
             "./usr/share/man/man1/vorlix-client.1.gz",
             "./usr/share/man/man1/vorlix-headless.1.gz",
             "./usr/share/man/man1/vorlix-sim.1.gz",
             "./usr/share/vorlix/examples/demo/local-datasources.json",
             "./usr/share/vorlix/examples/demo/local-displays.json",
             "./usr/share/vorlix/examples/demo/Frame_Entre_Norra-definedrows.json",
             "./usr/share/doc/vorlix-client/copyright",
             "./usr/share/doc/vorlix-client/changelog.gz",
         }) {
        EXPECT_TRUE(paths.contains(expected)) << expected;
    }
    for (const std::string& path : paths) {
        EXPECT_NE(path.rfind("./usr/local", 0), 0u) << path;
    }

    const std::string control = OutputOf({VORLIX_DPKG_DEB, "-I", deb.string()});
    EXPECT_NE(control.find(" postinst "), std::string::npos) << control;
    EXPECT_NE(control.find("Depends: adduser, libc6 (>= "), std::string::npos)
        << "dependencies computed from the programs: " << control;
    EXPECT_NE(control.find("libqt6widgets6"), std::string::npos) << control;
}

} // namespace
