#include "WindowProbe.h"
#include "support/ConfigurationDir.h"

#include "datasources/DisplayType.h"
#include "simulator/SimDisplay.h"
#include "simulator/SimServer.h"
#include "support/LoopbackListener.h"
#include "support/TestClock.h"
#include "ui/FormMultiDisplaysUI.h"
#include "ui/LedDisplayView.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// A TCP display on a loopback listener, seen through its page, its button and its mirror.
class DisplayStateTest : public ::testing::Test {
protected:
    void Open(std::uint16_t port) {
        TVDisplay& door =
            config.AddDisplay("Door", DisplayType_Vorlix3Ip, "127.0.0.1:" + std::to_string(port));
        door.SetWidth(128);
        config.Write();
        TRowSendCycle::TRows rows;
        rows.push_back(TextRow("Hej"));
        config.WriteRows("Door", rows);
        window = std::make_unique<TFormMultiDisplays>(config.Path());
        window->show();
        page = Find<QWidget>(window.get(), QStringLiteral("Frame_Door"));
    }
    QString ButtonTip() const {
        return Find<QPushButton>(window.get(), QStringLiteral("Btn_Door"))->toolTip();
    }
    bool WaitForTip(const QString& start) const {
        return QTest::qWaitFor([&] { return ButtonTip().startsWith(start); }, 10000);
    }
    void Click(const char* box) const { Find<QCheckBox>(window.get(), QString::fromLatin1(box))->click(); }

    TestClock clock;
    ConfigurationDir config;
    std::unique_ptr<TFormMultiDisplays> window;
    QWidget* page = nullptr;
};

TEST_F(DisplayStateTest, TheMarkAndTheStatusLineFollowTheConnection) {
    TSimDisplay display(128);
    TSimServer server(display, {"127.0.0.1", 0, false});
    Open(server.Port());
    EXPECT_TRUE(WaitForTip(QStringLiteral("Ej uppkopplad"))) << ButtonTip().toStdString();

    Click("CbConnected");
    EXPECT_TRUE(WaitForTip(QStringLiteral("Uppkopplad, utskick pausat"))) << ButtonTip().toStdString();
    auto* version = Find<QLineEdit>(page, QStringLiteral("txtSoftwareVersion"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return version->text() == QStringLiteral("VSIM 1.0"); }, 5000))
        << "the version shows as soon as it is read: " << version->text().toStdString();

    Click("cbPause");
    EXPECT_TRUE(WaitForTip(QStringLiteral("Uppkopplad, skickar rader"))) << ButtonTip().toStdString();
    auto* status = Find<QLabel>(page, QStringLiteral("LblStatus"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return status->text().contains(QStringLiteral("Senast skickat: Hej kl. 12:00:00")); }, 5000))
        << status->text().toStdString();

    Click("CbConnected");
    EXPECT_TRUE(WaitForTip(QStringLiteral("Ej uppkopplad"))) << ButtonTip().toStdString();
}

TEST_F(DisplayStateTest, ARefusedConnectionShowsAsFailedWithItsError) {
    std::uint16_t closedPort = 0;
    {
        LoopbackListener gone;
        closedPort = gone.Port();
    }
    Open(closedPort);
    Click("CbConnected");
    EXPECT_TRUE(WaitForTip(QStringLiteral("Anslutningen misslyckades: "))) << ButtonTip().toStdString();
    EXPECT_GT(ButtonTip().size(), QStringLiteral("Anslutningen misslyckades: ").size()) << "with the reason";
    auto* status = Find<QLabel>(page, QStringLiteral("LblStatus"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return status->text().contains(QStringLiteral("Fel: ")); }, 2000))
        << status->text().toStdString();
}

// The mirror is fed from the strings the client sends; the virtual display at the other end of
// the connection, fed with the bytes that arrived, must show the very same LEDs.
TEST_F(DisplayStateTest, TheMirrorShowsWhatTheDisplayReceives) {
    config.AddSource("Temp", 1, 5, "21");
    TSimDisplay display(128);
    TSimServer server(display, {"127.0.0.1", 0, false});
    Open(server.Port());
    auto* mirror = Find<TLedDisplayView>(page, QStringLiteral("Mirror"));
    Click("CbConnected");
    Click("cbPause");

    const bool same = QTest::qWaitFor(
        [&] {
            mirror->Refresh();
            return display.Frame() == mirror->Frame() && !(mirror->Frame() == TSimFrame(128));
        },
        10000);
    EXPECT_TRUE(same) << "mirror:\n" << mirror->Frame().ToText() << "display:\n" << display.Frame().ToText();
    EXPECT_EQ(mirror->Display().Brightness(), display.Brightness());
}

} // namespace
