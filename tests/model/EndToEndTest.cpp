#include "model/LocalViewModel.h"

#include "platform/SprintF.h"
#include "rows/RowsFile.h"
#include "support/LoopbackListener.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

// From configuration files to bytes at a display: a static value shown by a parameter row on a
// TCP display.
TEST(EndToEnd, ConfigurationDirectoryToDisplayBytes) {
    LoopbackListener display;
    TempDir dir;
    dir.Write(
        "local-datasources.json",
        R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDataSource>","id":1,"fields":{)"
        R"("FOwnsObjects":false,"FItems":[{"type":"JSONBaseObject.TVDataSource","id":2,"fields":{)"
        R"("FName":"Temp","FDescription":"","FPublicChangeable":true,"FDataSourceType":1,"FValueType":0,)"
        R"("FTimeout":0,"FConfiguration":"21","FValue":""}}],"FCount":1,"FArrayManager":{"type":)"
        R"("System.Generics.Collections.TMoveArrayManager<JSONBaseObject.TVDataSource>","id":3,"fields":{}}}})"
        "\r\n");
    dir.Write(
        "local-displays.json",
        SprintF(R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDisplay>","id":1,"fields":{)"
                R"("FOwnsObjects":false,"FItems":[{"type":"JSONBaseObject.TVDisplay","id":2,"fields":{)"
                R"("FName":"Hall","FDisplayType":4,"FWidth":64,"FBrightness":70,)"
                R"("FDisplaySettings":"127.0.0.1:%d","FConfigurationString":""}}],"FCount":1,)"
                R"("FArrayManager":{"type":"System.Generics.Collections.TMoveArrayManager<)"
                R"(JSONBaseObject.TVDisplay>","id":3,"fields":{}}}})"
                "\r\n",
                display.Port()));
    TRowSendCycle::TRows rows;
    auto row = std::make_unique<TConfigurationRow>("Temp", TCBFontSize_Large, TCBFontAlign_Center,
                                                   TCBColor_None, TCBColor_Green, 5000);
    row->TextIsParameter = true;
    rows.push_back(std::move(row));
    WriteRowsFile(RowsFilePath(dir.Path().string(), "Hall"), rows);

    TLocalViewModel model;
    model.LoadFromDictionary(dir.Path().string());
    TDisplayClientBase* client = model.GetDisplayClientFromCache("Hall");
    ASSERT_NE(client, nullptr);
    client->SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    model.CollectData();

    TRowSendCycle cycle(
        "Hall", [&] { return model.GetDisplay("Hall"); },
        [&] { return model.GetDisplayClientFromCache("Hall"); });
    cycle.ReplaceRows(ReadRowsFile(RowsFilePath(dir.Path().string(), "Hall")));
    client->ThreadStart();
    const std::string greeting = "-dac\r\n-v\r\n";
    ASSERT_EQ(display.ReceiveAtLeast(greeting.size()), greeting);
    display.Send("V3.14\r\n");

    cycle.SetPause(false);
    const std::string expected =
        greeting + "-i70\r\n-sc0 -sg0,0,64,16 -f1 -cb0 -cf2 -sad2 -nss0 -t\"21\r\n\"  \r\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    // Ticks as the program does until the row is on the display (its 5 s have not run out).
    while (display.ReceiveAtLeast(expected.size(), std::chrono::milliseconds(100)).size() < expected.size() &&
           std::chrono::steady_clock::now() < deadline) {
        cycle.TimSenddataTimer();
    }
    EXPECT_EQ(display.ReceiveAtLeast(expected.size() + 1, std::chrono::milliseconds(300)), expected);
}

} // namespace
