#pragma once

#include <cstddef>

// Writes all `size` bytes to the descriptor, again after a write that stops
// short or is interrupted; false (errno set) when one fails. Plain C++: the
// launcher's quick sheet uses it before any of Qt is loaded.
bool writeAll(int fd, const char *data, size_t size);
