#include "export/PngExport.h"

#include "platform/ByteText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QObject>
#include <QPainter>

#include <cmath>

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// The sheet drawn on white at the resolution, kept grey (anti-aliased text);
// in colour on a form, which may have colours of its own.
QImage picture(PrintedRenderer &renderer, const Printed::Sheet &sheet, int dpi)
{
    const double scale = double(dpi) / Printed::UnitsPerInch;
    const int width = qMax(1, int(std::ceil(double(sheet.width) * scale)));
    const int height = qMax(1, int(std::ceil(double(sheet.height) * scale)));
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    QPainter painter(&image);
    renderer.draw(painter, sheet, QPointF(0, 0), scale);
    painter.end();
    if (renderer.forms().forSheet(sheet.index))
        return image;
    return image.convertToFormat(QImage::Format_Grayscale8);
}

} // namespace

namespace PngExport {

QString numberedName(const QString &path, int n, int count)
{
    const int digits = qMax(3, int(QString::number(count).size()));
    QString base = path;
    if (isPngName(base))
        base.chop(4);
    return QStringLiteral("%1-%2.png").arg(base).arg(n, digits, 10, QLatin1Char('0'));
}

bool isPngName(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

bool save(const QString &path, const SheetSource &sheets, const PngOptions &options, QString *error,
    QStringList *written)
{
    if (options.pages.isEmpty())
        return fail(error, QObject::tr("No page is chosen."));
    if (options.dpi < MinimumDpi || options.dpi > MaximumDpi)
        return fail(error, QObject::tr("The resolution must be %1 to %2 dots per inch.").arg(MinimumDpi).arg(MaximumDpi));

    PrintedRenderer renderer;
    renderer.setForms(options.forms);
    QStringList made; // files this run made where there was none
    QStringList done;
    auto undo = [&]() {
        for (const QString &name : made)
            QFile::remove(name);
    };
    const int count = int(options.pages.size());
    for (int n = 0; n < count; ++n) {
        const QString name = numberedName(path, n + 1, count);
        const QFileInfo target(name);
        if (target.exists() && !target.isFile()) {
            undo();
            return fail(error, QObject::tr("Cannot write %1: it is not a regular file.")
                                   .arg(QDir::toNativeSeparators(name)));
        }
        const bool existed = target.exists();
        Printed::Sheet sheet = sheets(options.pages.at(n));
        sheet.index = options.pages.at(n); // which form it lies on
        const QImage image = picture(renderer, sheet, options.dpi);
        if (image.isNull()) {
            undo();
            return fail(error, QObject::tr("Cannot write %1: the picture is too large for the memory.")
                                   .arg(QDir::toNativeSeparators(name)));
        }
        const bool ok = ByteText::saveThrough(
            name,
            [&](QIODevice &out, QString *reason) {
                QImageWriter writer(&out, "png");
                if (writer.write(image))
                    return true;
                if (reason)
                    *reason = writer.errorString();
                return false;
            },
            error);
        if (!ok) {
            undo();
            return false;
        }
        if (!existed)
            made.append(name);
        done.append(name);
        if (options.progress && !options.progress(n + 1, count)) {
            undo();
            return fail(error, QObject::tr("The pictures were cancelled."));
        }
    }
    if (written)
        *written = done;
    return true;
}

} // namespace PngExport
