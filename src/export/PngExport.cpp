#include "export/PngExport.h"

#include "platform/SaveGroup.h"

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

// The sheet drawn on white at the resolution, kept grey (anti-aliased text).
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

    // All the pictures of one export take their names together at the end,
    // or none does: a failed export leaves an earlier one's pictures as
    // they were.
    PrintedRenderer renderer;
    SaveGroup group;
    QStringList done;
    const int count = int(options.pages.size());
    for (int n = 0; n < count; ++n) {
        const QString name = numberedName(path, n + 1, count);
        const QImage image = picture(renderer, sheets(options.pages.at(n)), options.dpi);
        if (image.isNull())
            return fail(error, QObject::tr("Cannot write %1: the picture is too large for the memory.")
                                   .arg(QDir::toNativeSeparators(name)));
        const bool ok = group.write(
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
        if (!ok)
            return false;
        done.append(name);
        if (options.progress && !options.progress(n + 1, count))
            return fail(error, QObject::tr("The pictures were cancelled."));
    }
    if (!group.commit(error))
        return false;
    if (written)
        *written = done;
    return true;
}

} // namespace PngExport
