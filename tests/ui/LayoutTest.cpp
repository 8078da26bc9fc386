#include "WindowProbe.h"
#include "support/ConfigurationDir.h"

#include "datasources/DisplayType.h"
#include "support/TestClock.h"
#include "ui/FormMultiDisplaysUI.h"
#include "ui/RowTable.h"
#include "ui/RowTableModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// How wide a bold caption of the header is, with the padding its style gives it.
int CaptionWidth(const QHeaderView& header, int column) {
    QFont bold = header.font();
    bold.setBold(true);
    const QString caption = header.model()->headerData(column, Qt::Horizontal).toString();
    return QFontMetrics(bold).horizontalAdvance(caption) + 2 * 6;
}

// The window at the sizes an operator's screens have, and the demo as a newcomer sees it.
class LayoutTest : public ::testing::TestWithParam<QSize> {
protected:
    void Open(const std::string& directory) {
        window = std::make_unique<TFormMultiDisplays>(directory);
        window->show();
        QCoreApplication::processEvents();
    }
    void OpenTwoRows() {
        config.AddDisplay("Hall", DisplayType_Debug);
        config.Write();
        TRowSendCycle::TRows rows;
        rows.push_back(TextRow("Välkommen"));
        rows.push_back(TextRow("En text"));
        config.WriteRows("Hall", rows);
        Open(config.Path());
    }

    TestClock clock;
    ConfigurationDir config;
    std::unique_ptr<TFormMultiDisplays> window;
};

TEST_P(LayoutTest, HeaderSectionsAndRowCellsShareTheirPositions) {
    OpenTwoRows();
    window->resize(GetParam());
    QCoreApplication::processEvents();
    ASSERT_EQ(window->size(), GetParam()) << "the window can be this small";
    auto* table =
        static_cast<TRowTable*>(RowTable(Find<QWidget>(window.get(), QStringLiteral("Frame_Hall"))));
    const QHeaderView* header = table->horizontalHeader();
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < TRowTableModel::ColumnCount; ++column) {
            const QRect cell = table->visualRect(table->model()->index(row, column));
            EXPECT_EQ(cell.x(), header->sectionViewportPosition(column))
                << "row " << row << " column " << column;
            EXPECT_EQ(cell.width(), header->sectionSize(column)) << "row " << row << " column " << column;
        }
        const QRect buttons = table->ButtonCell(row)->geometry();
        const QRect lastCell = table->visualRect(table->model()->index(row, TRowTableModel::ButtonsColumn));
        EXPECT_TRUE(lastCell.contains(buttons)) << "the buttons sit in their row's last cell";
    }
    EXPECT_GE(header->sectionSize(TRowTableModel::TextColumn),
              CaptionWidth(*header, TRowTableModel::TextColumn))
        << "the text column is at least as wide as its caption";
}

INSTANTIATE_TEST_SUITE_P(Screens, LayoutTest,
                         ::testing::Values(QSize(640, 400), QSize(1280, 800), QSize(1920, 1080)),
                         [](const auto& info) {
                             return std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });

using DefaultLayoutTest = LayoutTest;

TEST_F(DefaultLayoutTest, NoCaptionIsCutAtTheDefaultSize) {
    OpenTwoRows();
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible()) {
            continue;
        }
        const std::string what =
            widget->objectName().toStdString() + " " + widget->property("text").toString().toStdString();
        if (qobject_cast<const QLabel*>(widget) != nullptr ||
            qobject_cast<const QCheckBox*>(widget) != nullptr) {
            EXPECT_GE(widget->width(), widget->sizeHint().width()) << what;
        } else if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
            EXPECT_GE(button->contentsRect().width(), button->fontMetrics().horizontalAdvance(button->text()))
                << what;
        }
    }
    auto* table = RowTable(Find<QWidget>(window.get(), QStringLiteral("Frame_Hall")));
    for (int column = 0; column < TRowTableModel::ColumnCount; ++column) {
        EXPECT_GE(table->horizontalHeader()->sectionSize(column),
                  CaptionWidth(*table->horizontalHeader(), column))
            << table->model()->headerData(column, Qt::Horizontal).toString().toStdString();
    }
}

TEST_F(DefaultLayoutTest, TheDemoOpensOnItsTcpDisplayAndEveryRowFitsOrScrolls) {
    std::filesystem::copy(std::filesystem::path(VORLIX_SOURCE_DIR) / "examples" / "demo", config.Dir().Path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    Open(config.Path());
    EXPECT_TRUE(Find<QWidget>(window.get(), QStringLiteral("Frame_Entre_Norra"))->isVisible());
    for (const char* name : {"Frame_Entre_Norra", "Frame_Debug"}) {
        const QAbstractItemModel* rows =
            RowTable(Find<QWidget>(window.get(), QString::fromLatin1(name)))->model();
        ASSERT_GT(rows->rowCount(), 0) << name;
        for (int row = 0; row < rows->rowCount(); ++row) {
            const QModelIndex text = rows->index(row, TRowTableModel::TextColumn);
            EXPECT_FALSE(text.data(TRowTableModel::CutOffRole).toBool())
                << name << ": " << text.data().toString().toStdString();
        }
    }
}

} // namespace
