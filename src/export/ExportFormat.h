#pragma once

#include <QString>

// What the export dialog writes, chosen from the name the user gave.
enum class ExportFormat {
    WebPage,   // name ends in "html", any case: the whole print file
    PlainText, // name ends in "txt", lower case: the chosen pages as they are
    RichText   // anything else: the chosen pages with their emphasis
};

ExportFormat exportFormatForName(const QString &fileName);
