#pragma once

#include <QColor>
#include <QString>

class QTextDocument;

// What one markup pass reads from its report view: the "Vsual" box, the zoom
// state and the swatch colours. Defaults are those of an empty settings store.
struct MarkupContext
{
    bool vsual = true;                   // Check1 "Vsual": clear means no formatting at all
    bool zoomedIn = false;               // ZoomedIn: larger region sizes
    QColor dubble = QColor(0, 0, 0x80);  // TXt(0) "Dubble" (bbold)
    QColor bold = QColor(0x80, 0, 0);    // TXt(1) "Bold"
    QColor condence = QColor(0x80, 0, 0x80); // TXt(3) "Condence" (cond)
};

// One markup pass: hides every open/close sequence pair of one tag (1 point,
// white) and formats the text between them by the tag. Never fails loudly.
void ReportSetting(QTextDocument *document, const QString &Search, const QString &Search1,
                   const QString &seting, const MarkupContext &context);

// The series of passes: the view runs "cond", "uline", "bold", "bbold", "c96";
// printing and rich-text export run "cond", "uline", "bbold", "bold".
enum class MarkupOrder { View, Print };
void applyMarkupPasses(QTextDocument *document, const MarkupContext &context, MarkupOrder order);
