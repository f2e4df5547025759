#include "report/ReportMarkup.h"

#include <QTextDocument>
#include <QTextEdit>

// Placeholder: the passes are filled in with the markup work.
void ReportSetting(QTextEdit *, const QString &, const QString &, const QString &, const MarkupContext &) { }
void ReportSetting(QTextDocument *, const QString &, const QString &, const QString &, const MarkupContext &) { }
void applyMarkupPasses(QTextEdit *, const MarkupContext &, MarkupOrder) { }
void applyMarkupPasses(QTextDocument *, const MarkupContext &, MarkupOrder) { }
