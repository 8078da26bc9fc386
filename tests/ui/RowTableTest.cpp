#include "WindowProbe.h"
#include "support/ConfigurationDir.h"

#include "datasources/DisplayDataSourceBase.h"
#include "datasources/DisplayType.h"
#include "rows/RowEditorFields.h"
#include "rows/RowsFile.h"
#include "simulator/SimDisplay.h"
#include "simulator/SimRowPreview.h"
#include "support/TestClock.h"
#include "ui/ErrorBanner.h"
#include "ui/FormMultiDisplaysUI.h"
#include "ui/LedDisplayView.h"
#include "ui/RowTableModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The row table and the row editor of one display page, as an operator uses them.
class RowTableTest : public ::testing::Test {
protected:
    RowTableTest() {
        config
            .AddSource("Temp", DisplayDataSourceType_Static, TDisplayDataSourceBase::ValueType_Numeric, "21")
            .SetDescription("Temperatur ute");
        config.AddDisplay("Hall", DisplayType_Debug);
        config.Write();
    }

    void Open(const std::vector<std::string>& rowTexts) {
        config.WriteRows("Hall", TextRows(rowTexts));
        window = std::make_unique<TFormMultiDisplays>(config.Path());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        page = Find<QWidget>(window.get(), QStringLiteral("Frame_Hall"));
        table = RowTable(page);
    }

    template <typename TWidget = QWidget> TWidget* Control(const char* name) const {
        return Find<TWidget>(page, QString::fromLatin1(name));
    }
    QVariant Cell(int row, int column, int role = Qt::DisplayRole) const {
        return table->model()->index(row, column).data(role);
    }
    std::vector<bool> Marks() const {
        std::vector<bool> marks;
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            marks.push_back(Cell(row, TRowTableModel::StatusColumn, TRowTableModel::MarkedRole).toBool());
        }
        return marks;
    }
    std::vector<std::string> StoredTexts() const {
        std::vector<std::string> texts;
        for (const auto& row : config.ReadRows("Hall")) {
            texts.push_back(row->Text);
        }
        return texts;
    }
    bool EditorOpen() const { return Control("PanEditRow")->isVisible(); }
    // What the preview would show for `row` on the 64-LED display, the source's value filled in.
    static TSimFrame Alone(const TConfigurationRow& row) {
        TSimDisplay display(64);
        ShowRowAlone(display, RowAloneString(row, 64, [](std::string text) {
                         const std::string reference = "[Temp]";
                         if (const auto at = text.find(reference); at != std::string::npos) {
                             text.replace(at, reference.size(), "21");
                         }
                         return text;
                     }));
        return display.Frame();
    }
    TSimFrame PreviewFrame() const {
        auto* preview = Control<TLedDisplayView>("Preview");
        preview->Refresh();
        return preview->Frame();
    }

    TestClock clock;
    ConfigurationDir config;
    std::unique_ptr<TFormMultiDisplays> window;
    QWidget* page = nullptr;
    QTableView* table = nullptr;
};

TEST_F(RowTableTest, HasTheColumnsOfTheRowListAndMarksTheRowOnTheDisplay) {
    Open({"A", "B"});
    std::vector<std::string> captions;
    for (int column = 0; column < TRowTableModel::ButtonsColumn; ++column) {
        captions.push_back(table->model()->headerData(column, Qt::Horizontal).toString().toStdString());
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Status", "Text/Parameterval", "Font", "Justering", "Färg",
                                                  "Bakgrund", "Scroll", "Visningstid(msec)"}));
    EXPECT_EQ(Cell(0, TRowTableModel::FontColumn).toString(), QStringLiteral("Stor, Hela Vorlix"));
    EXPECT_EQ(Cell(0, TRowTableModel::TimeoutColumn).toString(), QStringLiteral("1000"));
    EXPECT_EQ(Marks(), (std::vector<bool>{false, false}));

    auto* sendTimer = Find<QTimer>(window.get(), QStringLiteral("TimSenddata"));
    Find<QCheckBox>(window.get(), QStringLiteral("cbPause"))->click();
    ASSERT_TRUE(WaitForTicks(sendTimer, 2));
    EXPECT_EQ(Marks(), (std::vector<bool>{true, false}));
    clock.Advance(1100);
    ASSERT_TRUE(WaitForTicks(sendTimer, 2));
    EXPECT_EQ(Marks(), (std::vector<bool>{false, true}));
}

TEST_F(RowTableTest, TaBortSavesAndCtrlZBringsTheRowBackAndSaves) {
    Open({"A", "B", "C"});
    RowButton(page, 1, "BtnRemove")->click();
    EXPECT_EQ(RowViewTexts(page), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(StoredTexts(), (std::vector<std::string>{"A", "C"}));

    table->setFocus();
    QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(RowViewTexts(page), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(StoredTexts(), (std::vector<std::string>{"A", "B", "C"}));
    QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(RowViewTexts(page), (std::vector<std::string>{"A", "B", "C"})) << "one deletion, one undo";

    RowButton(page, 0, "BtnMoveDown")->click();
    EXPECT_EQ(RowViewTexts(page), (std::vector<std::string>{"B", "A", "C"}));
    RowButton(page, 1, "BtnMoveDown")->click();
    EXPECT_EQ(StoredTexts(), (std::vector<std::string>{"B", "C", "A"})) << "the buttons follow their rows";
}

TEST_F(RowTableTest, EnterSavesAndEscapeResetsTheRowEditor) {
    Open({"A"});
    Control<QPushButton>("CmdAddRow")->click();
    ASSERT_TRUE(EditorOpen());
    auto* text = Control<QComboBox>("CmbText");
    QTest::keyClicks(text->lineEdit(), QStringLiteral("Ny"));
    QTest::keyClick(text->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(StoredTexts(), std::vector<std::string>{"A"});

    Control<QPushButton>("CmdAddRow")->click();
    QTest::keyClicks(text->lineEdit(), QStringLiteral("Ny"));
    QTest::keyClick(Control<QLineEdit>("TxtTimeout"), Qt::Key_Return);
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(StoredTexts(), (std::vector<std::string>{"A", "Ny"}));
}

TEST_F(RowTableTest, ThePreviewShowsTheRowAsTheEditorFieldsStand) {
    Open({});
    Control<QPushButton>("CmdAddRow")->click();
    TConfigurationRow expected = TConfigurationRow::NewDefault();
    QTest::keyClicks(Control<QComboBox>("CmbText")->lineEdit(), QStringLiteral("Hej"));
    expected.Text = "Hej";
    EXPECT_EQ(PreviewFrame().ToText(), Alone(expected).ToText());

    Control<QComboBox>("CmbFont")->setCurrentIndex(0);
    Control<QComboBox>("CmbFgColor")->setCurrentIndex(2);
    TRowEditorFields fields = TRowEditorFields::Of(expected);
    fields.Font = 0;
    fields.FgColor = 2;
    fields.ApplyTo(expected);
    EXPECT_EQ(PreviewFrame().ToText(), Alone(expected).ToText());

    auto* text = Control<QComboBox>("CmbText");
    text->setCurrentIndex(0);
    emit text->activated(0);
    expected.Text = "Temp";
    expected.TextIsParameter = true;
    EXPECT_EQ(PreviewFrame().ToText(), Alone(expected).ToText()) << "a source shows its value";
    EXPECT_NE(PreviewFrame(), TSimFrame(64));
}

TEST_F(RowTableTest, MarksARowWhoseTextIsCutOffOnTheDisplay) {
    Open({"Hej", "En alldeles for lang text"});
    EXPECT_FALSE(Cell(0, TRowTableModel::TextColumn, TRowTableModel::CutOffRole).toBool());
    EXPECT_TRUE(Cell(1, TRowTableModel::TextColumn, TRowTableModel::CutOffRole).toBool());
    EXPECT_TRUE(Cell(1, TRowTableModel::TextColumn, Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("får inte plats")));
}

TEST_F(RowTableTest, AFailedSaveShowsWhyUntilClosedAndTakesTheChangeBack) {
    Open({"A", "B"});
    const std::filesystem::path rowsFile = RowsFilePath(config.Path(), "Hall");
    std::filesystem::remove(rowsFile);
    std::filesystem::create_directory(rowsFile);

    RowButton(page, 0, "BtnRemove")->click();
    auto* banner = Find<TErrorBanner>(window.get(), QStringLiteral("ErrorBanner"));
    EXPECT_TRUE(banner->isVisible());
    EXPECT_TRUE(banner->Text().startsWith(QStringLiteral("Ändringarna kunde inte sparas: ")))
        << banner->Text().toStdString();
    EXPECT_TRUE(banner->Text().contains(QString::fromStdString(rowsFile.filename().string())))
        << banner->Text().toStdString();
    EXPECT_EQ(RowViewTexts(page), (std::vector<std::string>{"A", "B"})) << "the window shows what is saved";
    EXPECT_TRUE(std::ranges::any_of(LogLines(window.get()), [](const std::string& line) {
        return line.starts_with("Main :Error while saving current model:");
    }));

    Control<QPushButton>("CmdAddRow")->click();
    QTest::keyClicks(Control<QComboBox>("CmbText")->lineEdit(), QStringLiteral("Ny"));
    Control<QPushButton>("BtnSave")->click();
    EXPECT_EQ(RowViewTexts(page), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(EditorOpen()) << "what was typed is not lost";
    EXPECT_EQ(Control<QComboBox>("CmbText")->currentText(), QStringLiteral("Ny"));

    Find<QPushButton>(banner, QStringLiteral("BtnCloseErrorBanner"))->click();
    EXPECT_FALSE(banner->isVisible());
}

} // namespace
