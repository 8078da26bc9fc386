#pragma once

#include <filesystem>

// Writes a fresh self-signed certificate for 127.0.0.1 and its private key, both PEM.
void WriteTestCertificate(const std::filesystem::path& certificateFile, const std::filesystem::path& keyFile);
