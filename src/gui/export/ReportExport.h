#pragma once

#include "export/ReportExporter.h"
#include "report/ReportDocument.h"

#include <QObject>
#include <QString>

#include <functional>

class JeweledButton;
class QWidget;

// The export of one report document: the export dialog (web page, plain
// text, rich text or PDF, chosen from the name) and the two-click workbook
// export that cuts the print file's lines at the columns marked in the
// document. Lives as a child of the view that shows the document, so the
// last name chosen in the dialog lasts as long as the view.
class ReportExport : public QObject
{
    Q_OBJECT

public:
    // The dialog's types, the workbook button's captions and the message of
    // a finished export, in the user's language.
    static QString filter();
    static QString finishCaption(); // the next click writes the workbook
    static QString idleCaption();
    static QString completeMessage();

    // The export of `document`, shown in `view`; `workbookButton` is the
    // view's workbook button, which the export shows, hides and captions.
    ReportExport(ReportDocument &document, JeweledButton *workbookButton, QWidget *view);
    // Where the workbook run shows the row it writes (empty: done).
    void setRowShown(const std::function<void(const QString &)> &show) { m_showRow = show; }

    // The export button: asks for a name and writes the format it chooses,
    // of the chosen pages as the view shows them (`shown`: the page on
    // screen edited, and whether it shows its emphasis). A cancelled dialog
    // writes nothing and keeps the last name.
    void exportReport(const PageSelection &pages, const ShownText &shown);
    // The workbook button: the first click turns column marking on, the
    // next one writes the workbook under the last name.
    void CmdExelExp_Click();
    // Writes the workbook with the view disabled and a busy cursor, showing
    // the row in the search box; true when it was written whole.
    bool StartExcel();
    // The workbook's columns are being marked.
    bool marking() const { return m_marking; }


private:
    // What the document gives an export: its pages in the look it is in
    // (the exporter takes the print file's pages for the formats that read
    // them), the chosen ones, the colours and sizes.
    ExportRequest documentRequest() const;
    // Runs `write` with a progress dialog and Cancel; the dialog is gone
    // before any error box. A cancelled write tells nothing.
    bool writeWithProgress(
        const QString &fileName, const std::function<bool(const ExportProgress &, QString *)> &write);
    void offerWorkbook(bool offer);
    // The workbook button's caption; the finishing one makes the next click write.
    void setCaption(const QString &caption);
    void fail(const QString &error);

    ReportDocument &m_doc;
    JeweledButton *m_button;
    QWidget *m_view;
    std::function<void(const QString &)> m_showRow;
    PageSelection m_pages;
    QString m_lastFileName;
    bool m_marking = false;     // each caret move in the view records a column
    bool m_clickWrites = false; // the button says "Finsh Record Click": a click writes the workbook
};
