#pragma once

// The resolutions a PNG export takes, in dots per inch (also the range of
// `convert --dpi`, read where no drawing is linked).
namespace PngExport {

constexpr int MinimumDpi = 10;
constexpr int MaximumDpi = 600;
constexpr int DefaultDpi = 150;

} // namespace PngExport
