#pragma once

#include <QByteArrayView>
#include <QString>

// A capture queue takes whatever a client sends, and a client set up with
// another printer's driver sends PostScript, PDF, PCL or a page printer's
// raster. Read as ESC/P, such a job is its binary bytes drawn as characters
// over many sheets. This tells such a job from its first bytes, so that it
// can be named; it is still read as ESC/P (nothing is refused).
namespace ForeignLanguage {

// How much of a file's start is looked at.
constexpr qsizetype LookedAt = 4096;

// The printer language `start` (a file's first bytes; only LookedAt of them
// are read) is plainly written in when it is not ESC/P: "PostScript", "PDF",
// "PJL/PCL", "PCL XL", "ESC/Page", "Epson ink-jet raster", "PWG raster",
// "CUPS raster" or "Apple raster". Empty for ESC/P and for anything not
// plainly another language: only a sign that ESC/P never gives names one.
QString of(QByteArrayView start);

// The same for the file at `path`; empty when it cannot be read.
QString ofFile(const QString &path);

// The command line's note for a job in `language`, after "FILE: note: ":
// "this is a PostScript job, not an ESC/P print file; it is read as ESC/P
// all the same".
QString note(const QString &language);

} // namespace ForeignLanguage
