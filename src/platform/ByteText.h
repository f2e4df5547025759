#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Print files and page files are bytes, one character per byte: Latin-1
// both ways, so every byte 0-255 survives a read and a write. (The sticker
// format files and sheets are Windows-1252: see CodePage.)
namespace ByteText {

inline QString toText(const QByteArray &bytes) { return QString::fromLatin1(bytes); }
inline QByteArray toBytes(const QString &text) { return text.toLatin1(); }

// Reads a whole file. Returns false with an error text when it cannot.
bool readFile(const QString &path, QByteArray *bytes, QString *error);

// Writes a whole file through an OutputFile: the old file survives a
// failure, and a target that is not a regular file is refused.
bool writeFile(const QString &path, const QByteArray &bytes, QString *error);

// Saves a file whole or not at all through an OutputFile: `writer` fills
// the device, and the file replaces the old one only when the writer and
// the save both succeed. The error names the file and says why.
using DeviceWriter = std::function<bool(QIODevice &out, QString *reason)>;
bool saveThrough(const QString &path, const DeviceWriter &writer, QString *error);

} // namespace ByteText
