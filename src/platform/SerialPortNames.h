#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The serial devices of this machine that a display may hang on, to offer them by name: the
// stable names under /dev/serial/by-id first, then the USB, ACM and built-in ports, each group
// sorted. `devices` is the directory to look in.
std::vector<std::string> SerialPortNames(const std::filesystem::path& devices = "/dev");
