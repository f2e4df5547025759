#pragma once

#include <QString>

// File names made from what a job holds: safe for any file system and never
// leaving the folder they are meant for.
namespace SafeFileName {

// The longest name, in UTF-8 bytes.
constexpr int MaximumBytes = 200;

// The name with every '/', control character and character Windows refuses
// in a name (\ : * ? " < > |) made '_', no
// leading dots or spaces, and cut to MaximumBytes UTF-8 bytes (whole
// characters, the extension kept when it is short). Empty when nothing is
// left, or when only "." or ".." would be.
QString made(const QString &name);

// The name with its number: "a.pdf", "a-2.pdf", "a-3.pdf" ... still within
// MaximumBytes.
QString numbered(const QString &safeName, int number);

// Places a copy of `source` into `folder` as `safeName`, or as the first of
// its numbered names that is free, never writing over a file and never
// following a link at the name. The copy is written whole first under a
// hidden name; `finalPath` gets where it went.
bool placeCopy(const QString &source, const QString &folder, const QString &safeName, QString *finalPath,
    QString *error);

} // namespace SafeFileName
