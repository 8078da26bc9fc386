#pragma once

#include "platform/TextFileSet.h"
#include "rows/RowSendCycle.h"

#include <filesystem>
#include <string>
#include <string_view>

// "Frame_" and the display's name with every blank as an underscore: the name of the display's
// page, and the start of its rows file's name.
std::string FrameName(std::string_view displayName);

// "<frame name>-definedrows.json" in `directory`; trailing "/" and "\" do not matter.
std::filesystem::path RowsFilePath(std::string_view directory, std::string_view displayName);

// A display's rows from its rows file. Fails with "Error while reading configurationrows from
// file \"%s\": %s" (the file and the reason) when the file is missing or is not a rows list.
TRowSendCycle::TRows ReadRowsFile(const std::filesystem::path& path);

// Stages `rows` as the rows file's new content; a display without rows is written as null.
void StageRowsFile(TTextFileSet& files, const std::filesystem::path& path, const TRowSendCycle::TRows& rows);
// Replaces the rows file alone with `rows`.
void WriteRowsFile(const std::filesystem::path& path, const TRowSendCycle::TRows& rows);
