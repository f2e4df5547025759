#pragma once

// `sticker2 stickers --slot N [--pages N] [--digits D] -o FILE|-` run by the
// launcher in plain C++, before any of Qt is loaded: a stored slot's
// character-mode sheet costs then little more than writing its bytes. It
// takes only the plain case: those options, each once, with plain numbers
// in range, and a slot PlainSlot reads for sure; the output standard output
// or a regular file (or none yet) in a folder that takes an unnamed file.
// Everything else, and every failure before the output is in place, is
// left to the full program, which then gives the same sheet or its own
// message; nothing is written or printed here then.
namespace PlainStickers {

// True when the command line was run here, its exit status in *status.
bool run(int argc, char **argv, int *status);

} // namespace PlainStickers
