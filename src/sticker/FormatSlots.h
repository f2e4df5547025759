#pragma once

// How many format slots are stored (numbered 0 to Count - 1), in plain C++:
// FormatStore keeps them and the launcher's quick sheet (PlainSlot) reads
// them, and both count them here.
namespace FormatSlots {

constexpr int Count = 8;

} // namespace FormatSlots
