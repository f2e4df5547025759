#pragma once

#include <QString>

// The barcodes a sticker line can be drawn as. None draws the line as text.
enum class BarcodeKind { None, Code128, Code39, Ean13, Qr };

// The names used on the command line and in the settings store: "none",
// "code128", "code39", "ean13", "qr".
QString barcodeKindName(BarcodeKind kind);
// False (and *kind unchanged) for a name not in that list; letter case and
// surrounding spaces do not matter.
bool parseBarcodeKind(const QString &name, BarcodeKind *kind);
