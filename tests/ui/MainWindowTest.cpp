#include "WindowProbe.h"
#include "support/ConfigurationDir.h"

#include "config/ConfigurationFiles.h"
#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayType.h"
#include "rows/RowsFile.h"
#include "support/LoopbackListener.h"
#include "support/TestClock.h"
#include "ui/FormMultiDisplaysUI.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void Open() {
        window = std::make_unique<TFormMultiDisplays>(config.Path());
        window->show();
    }
    QWidget* Page(const char* name) const { return Find<QWidget>(window.get(), QString::fromLatin1(name)); }
    QPushButton* Button(const char* name) const {
        return Find<QPushButton>(window.get(), QString::fromLatin1(name));
    }
    // The pages in the page area that are shown.
    std::vector<std::string> VisiblePages() const {
        std::vector<std::string> names;
        for (const QWidget* page :
             Page("PanMain")->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (page->isVisible()) {
                names.push_back(page->objectName().toStdString());
            }
        }
        return names;
    }
    long SentRows(const std::string& display) const {
        const auto lines = LogLines(window.get());
        return std::ranges::count_if(
            lines, [&](const std::string& line) { return line.starts_with(display + " :("); });
    }

    TestClock clock;
    ConfigurationDir config;
    std::unique_ptr<TFormMultiDisplays> window;
};

TEST_F(MainWindowTest, AMissingFileIsShownAndTheWindowOpensWithoutPages) {
    config.AddDisplay("Hall", DisplayType_Debug);
    config.Write();
    std::filesystem::remove(DataSourcesFilePath(config.Path()));
    Open();

    const auto* box = Find<QMessageBox>(window.get(), QString());
    const std::string expected = "Cannot open file \"" + DataSourcesFilePath(config.Path()).string() + "\". ";
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->text().toStdString().starts_with(expected)) << box->text().toStdString();
    EXPECT_TRUE(VisiblePages().empty());
    EXPECT_EQ(Page("PanDisplayButtons")->findChildren<QPushButton*>(QRegularExpression("^Btn_")).size(), 0);
    EXPECT_FALSE(Button("BtnDisplaysEdit")->isEnabled()) << "nothing to edit";
    EXPECT_FALSE(Find<QTimer>(window.get(), QStringLiteral("dsCollectData"))->isActive());

    Button("BtnDatasources")->click();
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"Frame_Datasources"});
    EXPECT_EQ(Find<QTableWidget>(window.get(), QStringLiteral("LvDatasources"))->rowCount(), 0);
    EXPECT_FALSE(Button("BtnDisplaysEdit")->isEnabled()) << "a faulty configuration is not overwritten";
    EXPECT_FALSE(Button("BtnEditSources")->isEnabled());
}

TEST_F(MainWindowTest, WithoutDisplaysNoPageShowsAndCollectingRuns) {
    config.AddSource("Greeting", DisplayDataSourceType_Static, 0, "Hej");
    config.Write();
    Open();
    EXPECT_TRUE(VisiblePages().empty());
    EXPECT_TRUE(WaitForTicks(Find<QTimer>(window.get(), QStringLiteral("dsCollectData")), 2));
    EXPECT_EQ(window->findChild<QMessageBox*>(), nullptr);
}

TEST_F(MainWindowTest, EveryDisplayHasAPageAndAButtonNamedAfterIt) {
    config.AddDisplay("Entrance North Side", DisplayType_Debug);
    config.AddDisplay("Hall", DisplayType_Debug);
    config.Write();
    config.WriteRows("Hall", {});
    Open();

    QPushButton* entrance = Button("Btn_Entrance_North_Side");
    EXPECT_EQ(entrance->text(), QStringLiteral("Entrance North Side"));
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"Frame_Entrance_North_Side"})
        << "the first display shows";
    EXPECT_FALSE(entrance->isEnabled());

    Button("Btn_Hall")->click();
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"Frame_Hall"});
    EXPECT_TRUE(entrance->isEnabled());
    EXPECT_FALSE(Button("Btn_Hall")->isEnabled());

    Button("BtnDatasources")->click();
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"Frame_Datasources"});
    EXPECT_FALSE(Button("BtnDatasources")->isEnabled());
    entrance->click();
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"Frame_Entrance_North_Side"});
    EXPECT_TRUE(Button("BtnDatasources")->isEnabled());

    const std::string missingRows =
        "Entrance North Side :Error while reading configurationrows from file \"" +
        RowsFilePath(config.Path(), "Entrance North Side").string() + "\"";
    const auto lines = LogLines(window.get());
    EXPECT_TRUE(
        std::ranges::any_of(lines, [&](const std::string& line) { return line.starts_with(missingRows); }));
}

TEST_F(MainWindowTest, TheLogKeepsThe255NewestLines) {
    config.Write();
    Open();
    auto* log = Find<QListWidget>(window.get(), QStringLiteral("LogWnd"));
    log->clear();
    for (int i = 1; i <= 256; ++i) {
        window->HandleLogMessage("Test", std::to_string(i));
    }
    ASSERT_EQ(log->count(), 255);
    EXPECT_EQ(log->item(0)->text(), QStringLiteral("Test :256"));
    EXPECT_EQ(log->item(254)->text(), QStringLiteral("Test :2"));
}

TEST_F(MainWindowTest, DoubleClickingALogLineCopiesItsLastPart) {
    config.Write();
    Open();
    window->HandleLogMessage("Startup", "Exception during collectdata:Cannot open file");
    window->HandleLogMessage("Main", "Saved data");
    auto* log = Find<QListWidget>(window.get(), QStringLiteral("LogWnd"));
    // A double click as the mouse makes it: a click, then the second press.
    const auto doubleClick = [&](int row) {
        const QPoint position = log->visualItemRect(log->item(row)).center();
        QTest::mouseClick(log->viewport(), Qt::LeftButton, {}, position);
        QTest::mouseDClick(log->viewport(), Qt::LeftButton, {}, position);
        return QApplication::clipboard()->text().toStdString();
    };
    EXPECT_EQ(doubleClick(1), "Cannot open file");
    EXPECT_EQ(doubleClick(0), "Saved data");
}

TEST_F(MainWindowTest, UppkoppladStartsAndSuspendsEveryClient) {
    LoopbackListener door;
    LoopbackListener gate;
    config.AddDisplay("Door", DisplayType_Vorlix3Ip, "127.0.0.1:" + std::to_string(door.Port()));
    config.AddDisplay("Gate", DisplayType_Vorlix3Ip, "127.0.0.1:" + std::to_string(gate.Port()));
    config.Write();
    Open();
    const auto settingsEditable = [&](const char* page) {
        return Find<QLineEdit>(Page(page), QStringLiteral("txtDisplaySettings"))->isEnabled();
    };
    EXPECT_TRUE(settingsEditable("Frame_Door"));
    EXPECT_TRUE(settingsEditable("Frame_Gate"));

    auto* connected = Find<QCheckBox>(window.get(), QStringLiteral("CbConnected"));
    connected->click();
    EXPECT_FALSE(door.ReceiveAtLeast(1).empty()) << "the door display is greeted";
    EXPECT_FALSE(gate.ReceiveAtLeast(1).empty()) << "the gate display is greeted";
    EXPECT_FALSE(settingsEditable("Frame_Door"));
    EXPECT_FALSE(settingsEditable("Frame_Gate"));

    connected->click();
    EXPECT_TRUE(settingsEditable("Frame_Door"));
    EXPECT_TRUE(settingsEditable("Frame_Gate"));
}

TEST_F(MainWindowTest, PausaUtskickPausesAndResumesEveryPage) {
    config.AddDisplay("Hall", DisplayType_Debug);
    config.AddDisplay("Door", DisplayType_Debug);
    config.Write();
    TRowSendCycle::TRows rows;
    rows.push_back(TextRow("Hej"));
    config.WriteRows("Hall", rows);
    config.WriteRows("Door", rows);
    Open();
    auto* sendTimer = Find<QTimer>(window.get(), QStringLiteral("TimSenddata"));
    ASSERT_TRUE(WaitForTicks(sendTimer, 2));
    EXPECT_EQ(SentRows("Hall") + SentRows("Door"), 0) << "pages start paused";

    auto* pause = Find<QCheckBox>(window.get(), QStringLiteral("cbPause"));
    pause->click();
    ASSERT_TRUE(WaitForTicks(sendTimer, 2));
    EXPECT_EQ(SentRows("Hall"), 1);
    EXPECT_EQ(SentRows("Door"), 1);

    pause->click();
    clock.Advance(5000);
    ASSERT_TRUE(WaitForTicks(sendTimer, 2));
    EXPECT_EQ(SentRows("Hall"), 1);
    EXPECT_EQ(SentRows("Door"), 1);
}

} // namespace

namespace {

TEST_F(MainWindowTest, TheLogCountsRepeatsMarksErrorsAndFilters) {
    config.Write();
    Open();
    auto* log = Find<QListWidget>(window.get(), QStringLiteral("LogWnd"));
    log->clear();
    for (int i = 0; i < 37; ++i) {
        window->HandleLogMessage("TDisplayDataSourceJSON", " ERROR: Could not fetch:timeout");
    }
    window->HandleLogMessage("Hall", "(1000)-sc0 -t\"A\"");
    window->HandleLogMessage("Hall", "(1000)-sc0 -t\"A\"");
    EXPECT_EQ(LogLines(window.get()), (std::vector<std::string>{
                                          "Hall :(1000)-sc0 -t\"A\" (×2)",
                                          "TDisplayDataSourceJSON : ERROR: Could not fetch:timeout (×37)",
                                      }));
    EXPECT_NE(log->item(1)->foreground(), log->item(0)->foreground()) << "the error line is marked";
    EXPECT_EQ(log->item(1)->toolTip(),
              QStringLiteral("TDisplayDataSourceJSON : ERROR: Could not fetch:timeout"));

    auto* filter = Find<QLineEdit>(window.get(), QStringLiteral("LogFilter"));
    QTest::keyClicks(filter, QStringLiteral("fetch"));
    EXPECT_TRUE(log->item(0)->isHidden());
    EXPECT_FALSE(log->item(1)->isHidden());
    window->HandleLogMessage("Main", "Saved data");
    EXPECT_TRUE(log->item(0)->isHidden()) << "new lines are filtered too";
    filter->clear();
    EXPECT_FALSE(log->item(0)->isHidden());

    // The count is no part of what a double click copies.
    const QPoint position = log->visualItemRect(log->item(2)).center();
    QTest::mouseClick(log->viewport(), Qt::LeftButton, {}, position);
    QTest::mouseDClick(log->viewport(), Qt::LeftButton, {}, position);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("timeout"));
}

} // namespace
