#include "platform/SerialPortNames.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(SerialPortNamesTest, OffersStableNamesFirstThenUsbAcmAndBuiltInPorts) {
    const TempDir devices;
    std::filesystem::create_directories(devices / "serial" / "by-id");
    for (const char* name : {"ttyS1", "ttyS0", "ttyACM0", "ttyUSB1", "ttyUSB0", "tty0", "null", "sda"}) {
        devices.Write(name, "");
    }
    devices.Write("serial/by-id/usb-FTDI_FT232R-if00-port0", "");
    const std::string root = devices.Path().string();
    EXPECT_EQ(
        SerialPortNames(devices.Path()),
        (std::vector<std::string>{root + "/serial/by-id/usb-FTDI_FT232R-if00-port0", root + "/ttyUSB0",
                                  root + "/ttyUSB1", root + "/ttyACM0", root + "/ttyS0", root + "/ttyS1"}));
}

TEST(SerialPortNamesTest, AMachineWithoutPortsOffersNone) {
    const TempDir devices;
    EXPECT_TRUE(SerialPortNames(devices.Path()).empty());
    EXPECT_TRUE(SerialPortNames(devices / "missing").empty());
}

} // namespace
