#include "sticker/BarcodeKind.h"

// The kinds' names apart from the drawing of a barcode, so that the stored
// formats and the command line read them without the drawing's libraries.
namespace {

struct KindName
{
    BarcodeKind kind;
    const char *name; // command line and settings store
};

const KindName names[] = {
    {BarcodeKind::None, "none"},
    {BarcodeKind::Code128, "code128"},
    {BarcodeKind::Code39, "code39"},
    {BarcodeKind::Ean13, "ean13"},
    {BarcodeKind::Qr, "qr"},
};

} // namespace

QString barcodeKindName(BarcodeKind kind)
{
    for (const KindName &k : names) {
        if (k.kind == kind)
            return QString::fromLatin1(k.name);
    }
    return QString::fromLatin1(names[0].name);
}

bool parseBarcodeKind(const QString &name, BarcodeKind *kind)
{
    for (const KindName &k : names) {
        if (name.trimmed().compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0) {
            *kind = k.kind;
            return true;
        }
    }
    return false;
}
