#pragma once

#include <cstddef>
#include <string>

// Whole reads and writes of a descriptor or a file in plain C++ (no Qt), for
// the launcher's quick sheet, which runs before any of Qt is loaded.

// Writes all `size` bytes to the descriptor, again after a write that stops
// short or is interrupted; false (errno set) when one fails.
bool writeAll(int fd, const char *data, size_t size);

// The whole of a regular file into `bytes`; false when it cannot be read or
// is not a regular file, with `missing` set when there is no such file.
bool readWhole(const std::string &path, std::string *bytes, bool *missing);
