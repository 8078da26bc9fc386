#include "WindowProbe.h"
#include "support/ConfigurationDir.h"

#include "config/ConfigurationFiles.h"
#include "datasources/DisplayDataSourceBase.h"
#include "platform/RegionalSettings.h"
#include "support/TestClock.h"
#include "ui/FormMultiDisplaysUI.h"

#include <QDateEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class DatasourcePageTest : public ::testing::Test {
protected:
    DatasourcePageTest() {
        TVDataSource& deadline = config.AddSource("Deadline", DisplayDataSourceType_Static,
                                                  TDisplayDataSourceBase::ValueType_Date, "2026-01-15");
        deadline.SetDescription("Invigning");
        deadline.SetPublicChangeable(true);
        config
            .AddSource("Visitors", DisplayDataSourceType_File, TDisplayDataSourceBase::ValueType_Numeric,
                       (config.Dir() / "visitors.txt").string())
            .SetPublicChangeable(true);
        config.AddSource("Temp", DisplayDataSourceType_Static, TDisplayDataSourceBase::ValueType_Numeric,
                         "21");
        config.Write();
        window = std::make_unique<TFormMultiDisplays>(config.Path());
        window->show();
        Find<QPushButton>(window.get(), QStringLiteral("BtnDatasources"))->click();
        list = Find<QTableWidget>(window.get(), QStringLiteral("LvDatasources"));
        dateGroup = Find<QWidget>(window.get(), QStringLiteral("panStaticDate"));
    }

    std::string Cell(int row, int column) const { return list->item(row, column)->text().toStdString(); }

    TestClock clock;
    TScopedRegionalSettings settings{TRegionalSettings{'.', "yyyy-mm-dd", "hh:nn:ss"}};
    ConfigurationDir config;
    std::unique_ptr<TFormMultiDisplays> window;
    QTableWidget* list = nullptr;
    QWidget* dateGroup = nullptr;
};

TEST_F(DatasourcePageTest, ListsTheChangeableSourcesOnly) {
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "Deadline");
    EXPECT_EQ(Cell(0, 1), "Invigning");
    EXPECT_EQ(Cell(0, 2), "Statiskt värde");
    EXPECT_EQ(Cell(0, 3), "Datum");
    EXPECT_EQ(Cell(0, 4), "2026-01-15");
    EXPECT_EQ(Cell(1, 0), "Visitors");
    EXPECT_EQ(Cell(1, 2), "Fil");
}

TEST_F(DatasourcePageTest, SavesANewDateForAStaticSource) {
    list->selectRow(1);
    EXPECT_FALSE(dateGroup->isVisible()) << "a file source has no date to set";
    list->selectRow(0);
    ASSERT_TRUE(dateGroup->isVisible());
    auto* date = Find<QDateEdit>(window.get(), QStringLiteral("DtStaticDatetime"));
    EXPECT_EQ(date->date(), QDate(2026, 1, 15));

    date->setDate(QDate(2027, 3, 4));
    Find<QPushButton>(window.get(), QStringLiteral("BtnSaveStatic"))->click();
    EXPECT_EQ(Cell(0, 4), "2027-03-04");
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_FALSE(dateGroup->isVisible());
    const auto stored = ReadListFile<TVDataSource>(DataSourcesFilePath(config.Path()));
    EXPECT_EQ(stored[0].Configuration(), "2027-03-04");
    EXPECT_EQ(stored[0].Value(), "2027-03-04");
    EXPECT_TRUE(HasLogLine(window.get(), "Main :Saved data to directory \"" + config.Path() + "\""));
}

} // namespace

namespace {

TEST_F(DatasourcePageTest, ValuesFollowTheSourcesAndAFailingSourceIsMarked) {
    // A path that exists but cannot be read as a file.
    std::filesystem::create_directory(config.Dir().Path() / "visitors.txt");
    const auto tip = [&] { return list->item(1, 4)->toolTip(); };
    EXPECT_TRUE(QTest::qWaitFor([&] { return tip().startsWith(QStringLiteral("Fel: ")); }, 5000))
        << "the missing file is shown: " << tip().toStdString();
    EXPECT_TRUE(tip().contains(QStringLiteral("visitors.txt"))) << tip().toStdString();

    std::filesystem::remove(config.Dir().Path() / "visitors.txt");
    std::ofstream(config.Dir().Path() / "visitors.txt") << "42";
    EXPECT_TRUE(QTest::qWaitFor([&] { return tip() == QStringLiteral("42"); }, 5000)) << Cell(1, 4);
    EXPECT_EQ(Cell(1, 4), "42");
    EXPECT_EQ(list->item(1, 4)->foreground(), list->item(0, 4)->foreground())
        << "the error mark goes with the new value";
}

} // namespace
