#pragma once

#include "export/PngResolution.h"
#include "render/PrintedRenderer.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

struct PngOptions
{
    QVector<int> pages; // indexes of the sheets, written in this order
    int dpi = PngExport::DefaultDpi; // pixels per inch of the images
    SheetForms forms;   // the forms under the sheets
    // Told after each sheet how many are written; false stops there.
    std::function<bool(int written, int total)> progress;
    QStringList inputs; // files no picture may be written over (the print file, its forms)
};

// The sheets as pictures, one PNG file per sheet at true size: the name
// given, "report.png", becomes report-001.png, report-002.png ... (numbered
// in the order written, with more digits when there are more than 999).
// The pictures of one export appear together or not at all: when one fails
// or the work is cancelled, no file is made or replaced. Once they are
// there, an earlier export's pictures of the same name that this one did
// not replace (report-031.png after 30 sheets) are taken away, so that the
// pictures of two exports are never mixed.
namespace PngExport {

// The file name of the n-th image (1-based) out of `count`.
QString numberedName(const QString &path, int n, int count);

bool save(const QString &path, const SheetSource &sheets, const PngOptions &options, QString *error,
    QStringList *written = nullptr);

// Export names that mean pictures: ending in ".png", any case.
bool isPngName(const QString &fileName);

// The first picture an export to `path` wrote, where one lies: NAME-001.png,
// or NAME-0001.png and so on for exports of a thousand sheets and more.
// Without one, the three-digit name. Whoever asks whether a name is taken,
// or an export done, asks this.
QString firstPicture(const QString &path);

} // namespace PngExport
