#pragma once

#include "report/ReportMarkup.h"

class QTextEdit;

// The markup passes and page text on a rich-text control rather than a bare
// document: the control keeps its caret and repaints once.

// One markup pass on the control's document; leaves the control's selection
// on the first character.
void ReportSetting(QTextEdit *Richtex, const QString &Search, const QString &Search1, const QString &seting,
    const MarkupContext &context);

// The series of passes with the control frozen, so it lays out and repaints
// once; the selection is left on the first character.
void applyMarkupPasses(QTextEdit *edit, const MarkupContext &context, MarkupOrder order);

// Replaces the control's content with the text, unformatted. The caret goes
// to the start and takes no format over from the previous content.
void setPageText(QTextEdit *edit, const QString &text);
