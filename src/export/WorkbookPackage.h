#pragma once

#include <QString>

// Reads a written workbook package back before it replaces anything.
// libxlsxwriter builds each member in a temporary file whose failed writes
// it does not report, so a full disk or a file-size limit can leave members
// short, even empty, in a package that was itself written without an error.
namespace WorkbookPackage {

// True when every member reads back whole (its checksum matches) and, all
// members being XML, ends with the closing tag of its root element.
// Otherwise false with the first bad member's name and the bytes it holds
// (no name when the package cannot be read at all).
bool complete(const QString &path, QString *member, quint64 *size);

} // namespace WorkbookPackage
