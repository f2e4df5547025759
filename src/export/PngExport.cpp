#include "export/PngExport.h"

#include "export/PngWriter.h"
#include "platform/FileChecks.h"
#include "platform/SaveGroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// The bytes of colour drawn at a time: a sheet is drawn in bands of rows
// this large and written as it goes, so a long form at a high resolution
// takes no more memory than a short one.
constexpr qint64 BandBytes = qint64(16) << 20;

// Whether anything of the sheet is in colour: a form under it (which may
// have colours of its own), text or pictures printed in a colour (ESC r).
// Blanks in a colour print nothing, unless a line is drawn under, through or
// over them.
bool inColour(const PrintedRenderer &renderer, const Printed::Sheet &sheet)
{
    if (renderer.forms().forSheet(sheet.index) != nullptr)
        return true;
    for (const Printed::TextRun &run : sheet.runs) {
        const bool lined = run.style.underline || run.style.strike || run.style.overscore;
        if (run.style.color != 0 && (lined || !run.text.trimmed().isEmpty()))
            return true;
    }
    for (const Printed::Picture &picture : sheet.pictures) {
        if (picture.color != 0)
            return true;
    }
    return false;
}

// The sheet drawn on white at the resolution, kept grey (anti-aliased
// text) when all of it is black, into a PNG; in colour when any of it has
// colour (inColour).
bool drawSheet(QIODevice &out, PrintedRenderer &renderer, const Printed::Sheet &sheet, int dpi, QString *reason)
{
    const double scale = double(dpi) / Printed::UnitsPerInch;
    const int width = qMax(1, int(std::ceil(double(sheet.width) * scale)));
    const int height = qMax(1, int(std::ceil(double(sheet.height) * scale)));
    const int rows = int(qBound(qint64(1), BandBytes / (qint64(width) * 4), qint64(height)));
    const bool colour = inColour(renderer, sheet);
    PngWriter png(out, width, height, dpi, colour);
    // A sheet that was only fed through (nothing printed on it, no form
    // under it) is white: written as such, without drawing it.
    const bool blank = !colour && sheet.runs.isEmpty() && sheet.pictures.isEmpty();
    if (blank)
        png.writeWhiteRows(height);
    for (int top = 0; top < height && !blank; top += rows) {
        const int count = qMin(rows, height - top);
        QImage band(width, count, QImage::Format_RGB32);
        if (band.isNull()) {
            if (reason)
                *reason = QObject::tr("the picture is too large for the memory");
            return false;
        }
        band.fill(Qt::white);
        QPainter painter(&band);
        renderer.draw(painter, sheet, QPointF(0, -top), scale, QRectF(0, 0, width, count));
        painter.end();
        const QImage rows = band.convertToFormat(colour ? QImage::Format_RGB888 : QImage::Format_Grayscale8);
        if (!png.writeRows(rows.constBits(), count, rows.bytesPerLine()))
            break;
    }
    if (png.finish())
        return true;
    if (reason)
        *reason = png.error();
    return false;
}

// The pictures of an earlier export to `path` that this one's (`written`)
// did not replace: NAME-NNN.png of three or more digits beside them. Never
// one of `inputs` (a print file or a form named like a picture).
void removeEarlierPictures(const QString &path, const QStringList &written, const QStringList &inputs)
{
    const QFileInfo output(path);
    QString base = output.fileName();
    if (PngExport::isPngName(base))
        base.chop(4);
    const QRegularExpression picture(
        QStringLiteral("^%1-[0-9]{3,}\\.png$").arg(QRegularExpression::escape(base)));
    QDir folder = output.absoluteDir();
    QSet<QString> kept;
    for (const QString &name : written)
        kept.insert(QFileInfo(name).fileName());
    for (const QString &name : folder.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        const QFileInfo earlier(folder.filePath(name));
        if (!kept.contains(name) && picture.match(name).hasMatch() && earlier.isFile() && !earlier.isSymLink()
            && FileChecks::inputAt(earlier.filePath(), inputs).isEmpty())
            folder.remove(name);
    }
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

QString firstPicture(const QString &path)
{
    // numberedName's digits: three, or as many as the count has.
    for (int digits = 3; digits <= 10; ++digits) {
        const QString name = numberedName(path, 1, int(std::pow(10, digits - 1)));
        const QFileInfo picture(name);
        if (picture.exists() || picture.isSymLink())
            return name;
    }
    return numberedName(path, 1, 1);
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
    const int count = int(options.pages.size());
    for (int n = 0; n < count; ++n) {
        const QString name = numberedName(path, n + 1, count);
        const QString input = FileChecks::inputAt(name, options.inputs);
        if (!input.isEmpty())
            return fail(error, FileChecks::inputOverwriteText(name, input));
    }
    PrintedRenderer renderer;
    renderer.setForms(options.forms);
    // What an export of these pictures killed before its end left behind.
    const QFileInfo named(path);
    SaveGroup::removeLeftParts(named.absolutePath(),
        QRegularExpression::escape(isPngName(named.fileName()) ? named.fileName().chopped(4) : named.fileName())
            + QStringLiteral("-\\d+\\.png"));
    SaveGroup group;
    QStringList done;
    for (int n = 0; n < count; ++n) {
        const QString name = numberedName(path, n + 1, count);
        const int index = options.pages.at(n);
        Printed::Sheet sheet = sheets(index);
        sheet.index = index; // which form it lies on
        if (sheet.overBudget)
            return fail(error,
                QCoreApplication::translate("Export", "Cannot write %1: %2.")
                    .arg(QDir::toNativeSeparators(name), Printed::overBudgetText(index + 1, sheet.textOverBudget)));
        const bool ok = group.write(
            name, [&](QIODevice &out, QString *reason) { return drawSheet(out, renderer, sheet, options.dpi, reason); },
            error);
        if (!ok)
            return false;
        done.append(name);
        if (options.progress && !options.progress(n + 1, count))
            return fail(error, QObject::tr("The pictures were cancelled."));
    }
    if (!group.commit(error))
        return false;
    removeEarlierPictures(path, done, options.inputs);
    if (written)
        *written = done;
    return true;
}

} // namespace PngExport
