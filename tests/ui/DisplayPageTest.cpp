#include "WindowProbe.h"
#include "support/ConfigurationDir.h"

#include "datasources/DisplayDataSourceBase.h"
#include "datasources/DisplayType.h"
#include "support/TestClock.h"
#include "ui/DialGauge.h"
#include "ui/FormMultiDisplaysUI.h"
#include "ui/RowTableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class DisplayPageTest : public ::testing::Test {
protected:
    DisplayPageTest() {
        config
            .AddSource("Temp", DisplayDataSourceType_Static, TDisplayDataSourceBase::ValueType_Numeric, "21")
            .SetDescription("Temperatur ute");
        config.AddSource("Note", DisplayDataSourceType_Static, TDisplayDataSourceBase::ValueType_Text, "x");
        config.AddDisplay("Hall", DisplayType_Debug);
        config.Write();
    }

    void Open(const std::vector<std::string>& rowTexts) {
        config.WriteRows("Hall", TextRows(rowTexts));
        window = std::make_unique<TFormMultiDisplays>(config.Path());
        window->show();
        page = Find<QWidget>(window.get(), QStringLiteral("Frame_Hall"));
    }

    template <typename TWidget = QWidget> TWidget* Control(const char* name) const {
        return Find<TWidget>(page, QString::fromLatin1(name));
    }
    void Press(const char* button) const { Control<QPushButton>(button)->click(); }
    void PressOnRow(int row, const char* button) const { RowButton(page, row, button)->click(); }
    bool EditorOpen() const { return Control("PanEditRow")->isVisible(); }
    void TypeText(const char* name, const char* text) const {
        auto* field = Control<QLineEdit>(name);
        field->clear();
        QTest::keyClicks(field, QString::fromUtf8(text));
    }
    std::vector<std::string> StoredTexts() const {
        std::vector<std::string> texts;
        for (const auto& row : config.ReadRows("Hall")) {
            texts.push_back(row->Text);
        }
        return texts;
    }

    TestClock clock;
    ConfigurationDir config;
    std::unique_ptr<TFormMultiDisplays> window;
    QWidget* page = nullptr;
};

TEST_F(DisplayPageTest, AddingARowAndSavingWritesTheRowsFile) {
    Open({});
    EXPECT_FALSE(EditorOpen());
    Press("CmdAddRow");
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(Control<QLineEdit>("TxtTimeout")->text(), QStringLiteral("1000"));
    QTest::keyClicks(Control<QComboBox>("CmbText")->lineEdit(), QStringLiteral("Welcome"));
    EXPECT_FALSE(Control<QCheckBox>("CbUsingParameter")->isChecked());
    Press("BtnSave");

    EXPECT_FALSE(EditorOpen());
    const auto rows = config.ReadRows("Hall");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]->Text, "Welcome");
    EXPECT_FALSE(rows[0]->TextIsParameter);
    EXPECT_EQ(rows[0]->Size(), TCBFontSize_Large);
    EXPECT_EQ(rows[0]->ForegroundColor(), TCBColor_Red);
    EXPECT_EQ(rows[0]->Timeout, 1000u);
    EXPECT_EQ(RowViewTexts(page), std::vector<std::string>{"Welcome"});
    EXPECT_TRUE(HasLogLine(window.get(), "Main :Saved data to directory \"" + config.Path() + "\""));

    Press("CmdAddRow");
    QTest::keyClicks(Control<QComboBox>("CmbText")->lineEdit(), QStringLiteral("Bortkastad"));
    Press("BtnReset");
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(RowViewTexts(page), std::vector<std::string>{"Welcome"});
    EXPECT_EQ(StoredTexts(), std::vector<std::string>{"Welcome"});
}

TEST_F(DisplayPageTest, PickingASourceStoresItsNameAsAParameter) {
    Open({});
    Press("CmdAddRow");
    auto* text = Control<QComboBox>("CmbText");
    QTest::keyClick(text, Qt::Key_Down);
    EXPECT_EQ(text->currentText(), QStringLiteral("Temp|Temperatur ute"));
    EXPECT_TRUE(Control<QCheckBox>("CbUsingParameter")->isChecked());
    Press("BtnSave");

    const auto rows = config.ReadRows("Hall");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]->Text, "Temp");
    EXPECT_TRUE(rows[0]->TextIsParameter);
    EXPECT_EQ(RowViewTexts(page), std::vector<std::string>{"Temp(21)"});

    PressOnRow(0, "BtnChange");
    EXPECT_EQ(text->currentText(), QStringLiteral("Temp"));
    EXPECT_TRUE(Control<QCheckBox>("CbUsingParameter")->isChecked());
    QTest::keyClicks(text->lineEdit(), QStringLiteral("s"));
    EXPECT_FALSE(Control<QCheckBox>("CbUsingParameter")->isChecked()) << "a typed text is no source";
}

TEST_F(DisplayPageTest, ChangingARowCapsItsDisplayTimeAndAddsNoRow) {
    Open({"A"});
    Press("CmdAddRow");
    PressOnRow(0, "BtnChange");
    EXPECT_EQ(Control<QComboBox>("CmbText")->currentText(), QStringLiteral("A"));
    TypeText("TxtTimeout", "70000");
    Press("BtnSave");

    const auto rows = config.ReadRows("Hall");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]->Timeout, 60000u);
    EXPECT_EQ(RowTable(page)->model()->index(0, TRowTableModel::TimeoutColumn).data().toString(),
              QStringLiteral("60000"));
    EXPECT_EQ(static_cast<TDialGauge*>(Control("AdvShowingUntil"))->Maximum(), 60) << "the gauge follows";
}

TEST_F(DisplayPageTest, DeletingAndMovingSaveAtOnce) {
    Open({"A", "B", "C"});
    PressOnRow(1, "BtnMoveDown");
    EXPECT_EQ(StoredTexts(), (std::vector<std::string>{"A", "C", "B"}));
    EXPECT_EQ(RowViewTexts(page), (std::vector<std::string>{"A", "C", "B"}));
    PressOnRow(0, "BtnMoveUp");
    PressOnRow(2, "BtnMoveDown");
    EXPECT_EQ(RowViewTexts(page), (std::vector<std::string>{"A", "C", "B"})) << "the ends stay";

    PressOnRow(0, "BtnChange");
    ASSERT_TRUE(EditorOpen());
    PressOnRow(0, "BtnRemove");
    EXPECT_FALSE(EditorOpen()) << "the row open in the editor is gone";
    EXPECT_EQ(StoredTexts(), (std::vector<std::string>{"C", "B"}));
    EXPECT_EQ(RowViewTexts(page), (std::vector<std::string>{"C", "B"}));
}

} // namespace
