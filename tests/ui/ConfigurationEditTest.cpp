#include "WindowProbe.h"
#include "support/ConfigurationDir.h"

#include "clients/LoopbackDisplay.h"
#include "config/ConfigurationFiles.h"
#include "config/ListDocument.h"
#include "datasources/DisplayDataSourceBase.h"
#include "datasources/DisplayType.h"
#include "datasources/LocalHttpServer.h"
#include "platform/DateTime.h"
#include "platform/DateTimeText.h"
#include "rows/ConfigurationLoad.h"
#include "rows/DisplaySession.h"
#include "rows/RowsFile.h"
#include "support/TestClock.h"
#include "ui/FormMultiDisplaysUI.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using clienttest::TLoopbackDisplay;

// A configuration as text, for comparing one with another; the sources' last values, which follow
// the sources and are saved with the next change, are left out.
std::string ConfigurationText(const TBaseObjectList<TVDataSource>& sources,
                              const TBaseObjectList<TVDisplay>& displays,
                              const std::map<std::string, TRowSendCycle::TRows>& rowsByDisplay) {
    nlohmann::ordered_json document = ListToJson(sources);
    if (!document.is_null()) {
        for (auto& item : document["fields"]["FItems"]) {
            if (!item.is_null()) {
                item["fields"]["FValue"] = "";
            }
        }
    }
    std::string text = document.dump() + "\n" + ListToJson(displays).dump();
    for (const auto& [display, rows] : rowsByDisplay) {
        text += "\n" + display + ":";
        for (const auto& row : rows) {
            text += " " + row->Text;
        }
    }
    return text;
}

class ConfigurationEditTest : public ::testing::Test {
protected:
    void Open() {
        window = std::make_unique<TFormMultiDisplays>(config.Path());
        window->show();
    }
    QPushButton* Button(const QObject* parent, const char* name) const {
        return Find<QPushButton>(parent, QString::fromLatin1(name));
    }
    QDialog* OpenSources() {
        Button(window.get(), "BtnDatasources")->click();
        Button(window.get(), "BtnEditSources")->click();
        return Find<QDialog>(window.get(), QStringLiteral("SourcesDialog"));
    }
    QDialog* OpenDisplays() {
        Button(window.get(), "BtnDisplaysEdit")->click();
        return Find<QDialog>(window.get(), QStringLiteral("DisplaysDialog"));
    }
    static void Type(const QDialog* dialog, const char* field, const QString& text) {
        auto* edit = Find<QLineEdit>(dialog, QString::fromLatin1(field));
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    static void Choose(const QDialog* dialog, const char* box, const QString& label) {
        auto* choice = Find<QComboBox>(dialog, QString::fromLatin1(box));
        const int index = choice->findText(label);
        ASSERT_GE(index, 0) << label.toStdString();
        choice->setCurrentIndex(index);
    }
    static QString Label(const QDialog* dialog, const char* name) {
        return Find<QLabel>(dialog, QString::fromLatin1(name))->text();
    }
    static void Select(const QDialog* dialog, const QString& name) {
        auto* list = Find<QListWidget>(dialog, QStringLiteral("LstRecords"));
        const auto items = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        list->setCurrentItem(items.front());
    }
    // Adds a source through the form; `fill` sets what its kind needs.
    void AddSource(QDialog* dialog, const QString& name, const QString& kind,
                   const std::function<void()>& fill) {
        Button(dialog, "BtnAdd")->click();
        Type(dialog, "EdName", name);
        Choose(dialog, "CbKind", kind);
        fill();
        ASSERT_TRUE(Button(dialog, "BtnSave")->isEnabled())
            << Label(dialog, "LblConfigurationProblem").toStdString();
        Button(dialog, "BtnSave")->click();
    }
    // The question asked last, answered.
    void Answer(bool yes, QString* question = nullptr) {
        QMessageBox* box = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            for (auto* candidate : window->findChildren<QMessageBox*>(QStringLiteral("Question"))) {
                if (candidate->isVisible()) {
                    box = candidate;
                }
            }
            return box != nullptr;
        }));
        if (question != nullptr) {
            *question = box->text();
        }
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        QApplication::processEvents();
    }
    // What is on disk loads back as the configuration the window runs.
    void ExpectFilesAsRunning() {
        const TConfigurationDraft running = window->Session().Draft();
        const TLoadedConfiguration loaded = LoadConfiguration(config.Path());
        EXPECT_TRUE(loaded.Problems.empty());
        EXPECT_EQ(ConfigurationText(loaded.Sources, loaded.Displays, loaded.Rows),
                  ConfigurationText(running.Sources, running.Displays, running.Rows));
    }
    std::vector<std::string> SourceNames() const {
        std::vector<std::string> names;
        for (const TVDataSource& source : window->Session().Model().DataSourceRecords()) {
            names.push_back(source.Name());
        }
        return names;
    }

    // The display Hall with one row of `text`, beside the sources configured.
    void OpenOnHall(const std::string& text) {
        config.AddDisplay("Hall", DisplayType_Debug);
        config.Write();
        config.WriteRows("Hall", TextRows({text}));
        Open();
    }

    TestClock clock;
    ConfigurationDir config;
    std::unique_ptr<TFormMultiDisplays> window;
};

TEST_F(ConfigurationEditTest, AddsASourceOfEveryKind) {
    config.Write();
    const auto file = config.Dir().Write("visitors.txt", "17");
    Open();
    QDialog* dialog = OpenSources();
    AddSource(dialog, "Greeting", "Statiskt värde", [&] { Type(dialog, "EdStaticValue", "Hej"); });
    AddSource(dialog, "Today", "Statiskt värde", [&] {
        Choose(dialog, "CbValueType", "Datum");
        Button(dialog, "BtnNow")->click();
    });
    AddSource(dialog, "Opening", "Statiskt värde", [&] {
        Choose(dialog, "CbValueType", "Datum");
        Find<QDateEdit>(dialog, QStringLiteral("DtStaticDate"))->setDate(QDate(2026, 3, 14));
    });
    AddSource(dialog, "Visitors", "Fil", [&] {
        Type(dialog, "EdFilePath", QString::fromStdString(file.string()));
        Type(dialog, "EdInterval", "500");
    });
    AddSource(dialog, "Pushed", "R/E/S/T", [] {});
    AddSource(dialog, "Weather", "JSON källa", [&] {
        Type(dialog, "EdUrl", "http://127.0.0.1:1/weather");
        Type(dialog, "EdMember", "temp");
        Type(dialog, "EdInterval", "60000");
    });
    AddSource(dialog, "Twice", "Uttryck", [&] { Type(dialog, "EdExpression", "[Visitors]*2"); });

    EXPECT_EQ(SourceNames(), (std::vector<std::string>{"Greeting", "Today", "Opening", "Visitors", "Pushed",
                                                       "Weather", "Twice"}));
    const auto& sources = window->Session().Model().DataSourceRecords();
    EXPECT_EQ(sources[1].Configuration(), "now()");
    EXPECT_EQ(sources[1].ValueType(), TDisplayDataSourceBase::ValueType_Date);
    EXPECT_EQ(sources[2].Configuration(), DateToText(EncodeDateTime({2026, 3, 14})));
    EXPECT_EQ(sources[3].Timeout(), 500);
    EXPECT_EQ(sources[5].Configuration(), "http://127.0.0.1:1/weather|temp");
    EXPECT_EQ(sources[6].DataSourceType(), DisplayDataSourceType_Expression);
    // Running at once: the file source has its value without a restart.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto* source = window->Session().Model().GetDatasourceFromCache("Visitors");
        return source != nullptr && source->Value.Text() == "17\r\n";
    }));
    ExpectFilesAsRunning();
}

TEST_F(ConfigurationEditTest, RefusesWhatIsWrongAndSaysWhyBesideTheField) {
    config.AddSource("Greeting", DisplayDataSourceType_Static, 0, "Hej");
    config.Write();
    Open();
    QDialog* dialog = OpenSources();
    Button(dialog, "BtnAdd")->click();
    EXPECT_TRUE(Find<QLineEdit>(dialog, QStringLiteral("EdStaticValue"))->text().isEmpty())
        << "no date until one is picked";
    Type(dialog, "EdName", "Greeting");
    EXPECT_EQ(Label(dialog, "LblNameProblem"), "Det finns redan en källa som heter Greeting");
    EXPECT_FALSE(Button(dialog, "BtnSave")->isEnabled());
    Type(dialog, "EdName", "[x]");
    EXPECT_EQ(Label(dialog, "LblNameProblem"), "Namnet får inte innehålla [ eller ]");
    Type(dialog, "EdName", "Other");
    Type(dialog, "EdInterval", "70000");
    EXPECT_EQ(Label(dialog, "LblIntervalProblem"), "Intervallet ska vara ett heltal från 0 till 65535 ms");
    EXPECT_FALSE(Button(dialog, "BtnSave")->isEnabled());
    Type(dialog, "EdInterval", "0");
    EXPECT_TRUE(Button(dialog, "BtnSave")->isEnabled());
    EXPECT_FALSE(Find<QLabel>(dialog, QStringLiteral("LblNameProblem"))->isVisibleTo(dialog));
}

TEST_F(ConfigurationEditTest, TheExpressionShowsItsResultAsItIsTyped) {
    config.AddSource("Counter", DisplayDataSourceType_Static, TDisplayDataSourceBase::ValueType_Numeric,
                     "21");
    config.Write();
    Open();
    QDialog* dialog = OpenSources();
    Button(dialog, "BtnAdd")->click();
    Type(dialog, "EdName", "Twice");
    Choose(dialog, "CbKind", "Uttryck");
    Type(dialog, "EdExpression", "[Counter]*2");
    EXPECT_EQ(Label(dialog, "LblExpressionResult"), "Värde: 42");
    EXPECT_TRUE(Label(dialog, "LblConfigurationProblem").isEmpty());
    Type(dialog, "EdExpression", "[Counter]*[Nope]");
    EXPECT_EQ(Label(dialog, "LblConfigurationProblem"), "Okänd källa: [Nope]");
    EXPECT_TRUE(Button(dialog, "BtnSave")->isEnabled()) << "an unknown source is flagged, not refused";
    Type(dialog, "EdExpression", "[Counter]*(");
    EXPECT_NE(Label(dialog, "LblExpressionResult"), "Värde: 42");
    EXPECT_TRUE(Find<QLabel>(window.get(), QStringLiteral("LblExpressionResult"))->text() != QString());
}

TEST_F(ConfigurationEditTest, TheTestButtonFetchesInTheBackground) {
    TLocalHttpServer server;
    server.Server().Get("/weather", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(R"({"temp":21.5,"wind":3})", "application/json");
    });
    server.Start();
    config.Write();
    Open();
    QDialog* dialog = OpenSources();
    Button(dialog, "BtnAdd")->click();
    Type(dialog, "EdName", "Weather");
    Choose(dialog, "CbKind", "JSON källa");
    Type(dialog, "EdUrl", QString::fromStdString(server.Url("/weather")));
    Type(dialog, "EdMember", "temp");
    Button(dialog, "BtnTest")->click();
    EXPECT_EQ(Label(dialog, "LblTestResult"), "Hämtar …") << "the window goes on while it fetches";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Label(dialog, "LblTestResult") != "Hämtar …"; }, 10000));
    EXPECT_TRUE(Label(dialog, "LblTestResult").startsWith("Värde: 21"))
        << Label(dialog, "LblTestResult").toStdString();

    Type(dialog, "EdUrl", QString::fromStdString(server.Url("/missing")));
    Button(dialog, "BtnTest")->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Label(dialog, "LblTestResult") != "Hämtar …"; }, 10000));
    EXPECT_TRUE(Label(dialog, "LblTestResult").startsWith("Fel: "))
        << Label(dialog, "LblTestResult").toStdString();
    EXPECT_TRUE(SourceNames().empty()) << "trying saves nothing";
}

TEST_F(ConfigurationEditTest, RenamingOffersToRenameTheReferences) {
    config.AddSource("Counter", DisplayDataSourceType_Static, 0, "4");
    config.AddSource("Total", DisplayDataSourceType_Expression, 0, "[Counter]*2");
    OpenOnHall("Count [Counter]");
    QDialog* dialog = OpenSources();
    Select(dialog, "Counter");
    Type(dialog, "EdName", "Count");
    Button(dialog, "BtnSave")->click();
    QString question;
    Answer(true, &question);
    EXPECT_TRUE(question.contains("Skärm Hall, rad 1: Count [Counter]")) << question.toStdString();
    EXPECT_TRUE(question.contains("Uttrycket Total: [Counter]*2")) << question.toStdString();

    EXPECT_EQ(SourceNames(), (std::vector<std::string>{"Count", "Total"}));
    EXPECT_EQ(window->Session().Model().DataSourceRecords()[1].Configuration(), "[Count]*2");
    EXPECT_EQ(window->Session().Cycle("Hall")->Rows()[0]->Text, "Count [Count]");
    EXPECT_EQ(config.ReadRows("Hall")[0]->Text, "Count [Count]");
    ExpectFilesAsRunning();

    // Declining renames the source alone.
    Select(dialog, "Count");
    Type(dialog, "EdName", "Number");
    Button(dialog, "BtnSave")->click();
    Answer(false);
    EXPECT_EQ(SourceNames(), (std::vector<std::string>{"Number", "Total"}));
    EXPECT_EQ(config.ReadRows("Hall")[0]->Text, "Count [Count]");
    ExpectFilesAsRunning();
}

TEST_F(ConfigurationEditTest, RemovingAUsedSourceAsksAndListsTheUses) {
    config.AddSource("Counter", DisplayDataSourceType_Static, 0, "4");
    OpenOnHall("Count [Counter]");
    QDialog* dialog = OpenSources();
    Select(dialog, "Counter");
    Button(dialog, "BtnRemove")->click();
    QString question;
    Answer(false, &question);
    EXPECT_TRUE(question.contains("Skärm Hall, rad 1: Count [Counter]")) << question.toStdString();
    EXPECT_EQ(SourceNames(), std::vector<std::string>{"Counter"});

    Button(dialog, "BtnRemove")->click();
    Answer(true);
    EXPECT_TRUE(SourceNames().empty());
    EXPECT_EQ(Find<QListWidget>(dialog, QStringLiteral("LstRecords"))->count(), 0);
    ExpectFilesAsRunning();
}

TEST_F(ConfigurationEditTest, DisplaysAreAddedChangedAndRemoved) {
    OpenOnHall("Welcome");
    QDialog* dialog = OpenDisplays();
    Button(dialog, "BtnAdd")->click();
    Type(dialog, "EdDisplayName", "Entrance");
    Choose(dialog, "CbDisplayKind", "Vorlix3 via TCP/IP");
    EXPECT_FALSE(Button(dialog, "BtnSave")->isEnabled());
    EXPECT_TRUE(Label(dialog, "LblSettingsProblem").startsWith("Configurationstring is not valid"))
        << Label(dialog, "LblSettingsProblem").toStdString();
    Type(dialog, "EdAddress", "127.0.0.1");
    Find<QSpinBox>(dialog, QStringLiteral("SpPort"))->setValue(4000);
    Choose(dialog, "CbWidth", "64");
    Button(dialog, "BtnSave")->click();
    ASSERT_NE(window->Session().Model().GetDisplay("Entrance"), nullptr);
    EXPECT_EQ(window->Session().Model().GetDisplay("Entrance")->DisplaySettings(), "127.0.0.1:4000");
    EXPECT_EQ(window->Session().Model().GetDisplay("Entrance")->Width(), 64);
    EXPECT_NO_THROW(Find<QPushButton>(window.get(), QStringLiteral("Btn_Entrance")));
    ExpectFilesAsRunning();

    Button(window.get(), "Btn_Hall")->click();
    Select(dialog, "Hall");
    Type(dialog, "EdDisplayName", "Big Hall");
    Button(dialog, "BtnSave")->click();
    EXPECT_TRUE(Find<QWidget>(window.get(), QStringLiteral("Frame_Big_Hall"))->isVisible())
        << "its page stays shown";
    EXPECT_EQ(window->Session().Cycle("Big Hall")->Rows().size(), 1u) << "the rows go along";
    EXPECT_FALSE(std::filesystem::exists(RowsFilePath(config.Path(), "Hall")));
    EXPECT_NO_THROW(Find<QWidget>(window.get(), QStringLiteral("Frame_Big_Hall")));
    ExpectFilesAsRunning();

    Select(dialog, "Big Hall");
    Button(dialog, "BtnRemove")->click();
    Answer(true);
    EXPECT_EQ(window->Session().Cycle("Big Hall"), nullptr);
    EXPECT_TRUE(std::filesystem::exists(RowsFilePath(config.Path(), "Big Hall").string() + ".removed"));
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("Frame_Big_Hall")), nullptr);
    ExpectFilesAsRunning();
}

TEST_F(ConfigurationEditTest, OneFileWithoutTheOtherIsStillAnError) {
    config.Write();
    std::filesystem::remove(DisplaysFilePath(config.Path()));
    Open();
    EXPECT_EQ(window->findChild<QMessageBox*>(QStringLiteral("Question")), nullptr);
    EXPECT_TRUE(Find<QMessageBox>(window.get(), QString())->text().startsWith("Cannot open file"));
    EXPECT_FALSE(Button(window.get(), "BtnDisplaysEdit")->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(DisplaysFilePath(config.Path())));
}

// From an empty directory to a display showing its row, all through the window.
TEST_F(ConfigurationEditTest, ANewInstallationIsBuiltInTheWindow) {
    TLoopbackDisplay display("VSIM 1.0");
    Open();
    auto* box = window->findChild<QMessageBox*>(QStringLiteral("Question"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes)) << "Enter accepts";
    QTest::keyClick(box, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(config.Dir().Contents(),
              (std::map<std::string, std::string>{{"local-datasources.json", "null\r\n"},
                                                  {"local-displays.json", "null\r\n"}}));

    QDialog* sources = OpenSources();
    AddSource(sources, "Place", "Statiskt värde", [&] { Type(sources, "EdStaticValue", "Hall"); });
    AddSource(sources, "Count", "Statiskt värde", [&] {
        Choose(sources, "CbValueType", "Numreriskt värde");
        Type(sources, "EdStaticValue", "21");
    });
    AddSource(sources, "Twice", "Uttryck", [&] {
        EXPECT_EQ(Find<QLineEdit>(sources, QStringLiteral("EdInterval"))->text(), "1000")
            << "as its kind usually is";
        Type(sources, "EdExpression", "[Count]*2");
    });
    sources->close();
    QDialog* displays = OpenDisplays();
    Button(displays, "BtnAdd")->click();
    Type(displays, "EdDisplayName", "Entrance");
    Type(displays, "EdAddress", "127.0.0.1");
    Find<QSpinBox>(displays, QStringLiteral("SpPort"))->setValue(display.Port());
    Button(displays, "BtnSave")->click();
    displays->close();

    // A row, as the operator adds one on the display's page.
    QWidget* page = Find<QWidget>(window.get(), QStringLiteral("Frame_Entrance"));
    Button(page, "CmdAddRow")->click();
    QTest::keyClicks(Find<QComboBox>(page, QStringLiteral("CmbText"))->lineEdit(),
                     QStringLiteral("[Twice] [Place]"));
    Button(page, "BtnSave")->click();
    Find<QCheckBox>(window.get(), QStringLiteral("cbPause"))->click();
    Find<QCheckBox>(window.get(), QStringLiteral("CbConnected"))->click();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return display.Received(0).find("-t\"42 Hall") != std::string::npos; }, 10000))
        << display.Received(0);
    ExpectFilesAsRunning();
}

} // namespace
