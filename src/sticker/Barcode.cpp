#include "sticker/Barcode.h"

#include "platform/ZintLibrary.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <cfloat>

namespace {

struct KindInfo
{
    BarcodeKind kind;
    const char *label; // for the user
    int symbology;
};

const KindInfo kinds[] = {
    {BarcodeKind::None, "", 0},
    {BarcodeKind::Code128, "Code 128", BARCODE_CODE128},
    {BarcodeKind::Code39, "Code 39", BARCODE_CODE39},
    {BarcodeKind::Ean13, "EAN-13", BARCODE_EANX},
    {BarcodeKind::Qr, "QR", BARCODE_QRCODE},
};

const KindInfo &info(BarcodeKind kind)
{
    for (const KindInfo &k : kinds)
        if (k.kind == kind)
            return k;
    return kinds[0];
}

bool isEan13Text(const QString &text)
{
    if (text.size() != 12 && text.size() != 13)
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

void Barcode::Deleter::operator()(zint_symbol *symbol) const
{
    // A symbol exists only once the library is loaded.
    ZintLibrary::get(nullptr)->ZBarcode_Delete(symbol);
}

Barcode::Barcode(BarcodeKind kind, const QString &text)
    : m_kind(kind)
{
    const QString label = QString::fromLatin1(info(kind).label);
    if (kind == BarcodeKind::None) {
        m_error = QCoreApplication::translate("Sticker", "No kind of barcode is chosen.");
        return;
    }
    if (text.isEmpty()) {
        m_error = QCoreApplication::translate("Sticker", "An empty text cannot be drawn as a %1 barcode.")
                      .arg(label);
        return;
    }
    if (kind == BarcodeKind::Ean13 && !isEan13Text(text)) {
        m_error = QStringLiteral("An EAN-13 barcode needs 12 or 13 digits; \"%1\" is not that.").arg(text);
        return;
    }
    // Code 39 has capital letters only: the library would make small ones
    // capitals, and the bars would read as another text.
    if (kind == BarcodeKind::Code39 && text != text.toUpper()) {
        m_error = QCoreApplication::translate("Sticker",
            "A Code 39 barcode holds capital letters only; \"%1\" has small ones (Code 128 holds them).")
                      .arg(text);
        return;
    }
    QString missing;
    const ZintLibrary *zint = ZintLibrary::get(&missing);
    if (!zint) {
        m_error
            = QCoreApplication::translate("Sticker", "A %1 barcode cannot be drawn: %2").arg(label, missing);
        return;
    }
    m_symbol.reset(zint->ZBarcode_Create());
    if (!m_symbol) {
        m_error = QCoreApplication::translate("Sticker", "There is not enough memory to draw a barcode.");
        return;
    }
    zint_symbol *s = m_symbol.get();
    s->symbology = info(kind).symbology;
    s->input_mode = UNICODE_MODE;
    // Room around the symbol that scanners need; EAN has its own.
    s->output_options = kind == BarcodeKind::Ean13 ? 0 : BARCODE_QUIET_ZONES;
    s->show_hrt = kind == BarcodeKind::Qr ? 0 : 1;
    // All bars one height, so the text fits under them.
    s->guard_descent = 0;
    const QByteArray bytes = text.toUtf8();
    int rc = zint->ZBarcode_Encode(
        s, reinterpret_cast<const unsigned char *>(bytes.constData()), int(bytes.size()));
    if (rc < ZINT_ERROR)
        rc = zint->ZBarcode_Buffer_Vector(s, 0);
    if (rc >= ZINT_ERROR || !s->vector || s->vector->width <= 0 || s->vector->height <= 0) {
        m_error = QStringLiteral("The text \"%1\" cannot be drawn as a %2 barcode: %3")
                      .arg(text, label, QString::fromUtf8(s->errtxt));
        m_symbol.reset();
    }
}

Barcode::~Barcode() = default;

QString Barcode::check(BarcodeKind kind, const QString &text)
{
    return Barcode(kind, text).errorText();
}

void Barcode::draw(QPainter &painter, const QRectF &rect, const QFont &font) const
{
    if (!isValid() || rect.isEmpty())
        return;
    const zint_vector *v = m_symbol->vector;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);

    // One path for all modules: adjacent ones then show no seams between them.
    QPainterPath modules;
    modules.setFillRule(Qt::WindingFill);
    if (m_kind == BarcodeKind::Qr) {
        const double s = qMin(rect.width() / v->width, rect.height() / v->height);
        for (const zint_vector_rect *r = v->rectangles; r; r = r->next)
            modules.addRect(
                QRectF(rect.left() + r->x * s, rect.top() + r->y * s, r->width * s, r->height * s));
        painter.drawPath(modules);
        painter.restore();
        return;
    }

    // Bars stretched to the box, the text band under them.
    double top = DBL_MAX;
    double bottom = -DBL_MAX;
    for (const zint_vector_rect *r = v->rectangles; r; r = r->next) {
        top = qMin(top, double(r->y));
        bottom = qMax(bottom, double(r->y + r->height));
    }
    const double textBand = v->strings ? rect.height() * 0.3 : 0;
    const double sx = rect.width() / v->width;
    const double sy = bottom > top ? (rect.height() - textBand) / (bottom - top) : 0;
    for (const zint_vector_rect *r = v->rectangles; r; r = r->next)
        modules.addRect(
            QRectF(rect.left() + r->x * sx, rect.top() + (r->y - top) * sy, r->width * sx, r->height * sy));
    painter.drawPath(modules);

    if (v->strings) {
        QFont small = font;
        small.setPixelSize(qMax(1, int(textBand / 1.2)));
        const QFontMetricsF metrics(small);
        painter.setFont(small);
        painter.setPen(Qt::black);
        const double baseline = rect.bottom() - metrics.descent();
        for (const zint_vector_string *s = v->strings; s; s = s->next) {
            const QString text = QString::fromUtf8(reinterpret_cast<const char *>(s->text), s->length);
            const double width = metrics.horizontalAdvance(text);
            const double x = rect.left() + s->x * sx;
            const double left = s->halign == 1 ? x : s->halign == 2 ? x - width : x - width / 2;
            painter.drawText(QPointF(left, baseline), text);
        }
    }
    painter.restore();
}
