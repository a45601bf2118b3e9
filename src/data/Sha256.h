#pragma once
// SHA-256 of a file's bytes, so that a result can name exactly the measurement it came from.

#include <string>
#include <string_view>

// The digest as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);

// The digest of a file's contents; empty when the file cannot be read.
std::string FileSha256Hex(const std::string& path);
