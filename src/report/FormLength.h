#pragma once

// The form lengths the printed look takes, in inches (the settings and
// `--form-length` alike, read where no drawing is linked).
namespace FormLength {

constexpr double Shortest = 1.0;
constexpr double Longest = 22.0;

} // namespace FormLength
