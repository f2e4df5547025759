#pragma once

#include "export/ReportExporter.h"

#include <QObject>
#include <QString>

#include <functional>

class FrmReport;

// The export of one report view: the export dialog (web page, plain text,
// rich text or PDF, chosen from the name) and the two-click workbook export that
// cuts the print file's lines at the columns marked in the view. Lives as a
// child of its view, so the last name chosen in the dialog lasts as long as
// the view.
class ReportExport : public QObject
{
    Q_OBJECT

public:
    static const QString Filter;
    static const QString FinishCaption; // the next click writes the workbook
    static const QString IdleCaption;
    static const QString CompleteMessage;

    // The view's export, made on first use.
    static ReportExport *of(FrmReport *view);

    // The export button: asks for a name and writes the format it chooses.
    // A cancelled dialog writes nothing and keeps the last name.
    void exportReport();
    // The workbook button: the first click turns column marking on, the
    // next one writes the workbook under the last name.
    void CmdExelExp_Click();
    // Writes the workbook with the view disabled and a busy cursor, showing
    // the row in the search box; true when it was written whole.
    bool StartExcel();

    QString lastFileName() const { return m_lastFileName; }

private:
    explicit ReportExport(FrmReport *view);

    // What the view gives an export in that format.
    ExportRequest requestFor(ExportFormat format) const;
    // Runs `write` with a progress dialog and Cancel; the dialog is gone
    // before any error box. A cancelled write tells nothing.
    bool writeWithProgress(
        const QString &fileName, const std::function<bool(const ExportProgress &, QString *)> &write);
    void offerWorkbook(bool offer);
    void fail(const QString &error);

    FrmReport *m_view;
    QString m_lastFileName;
};
