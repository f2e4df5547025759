#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Shared set-up for the tests: call TestSupport::init() in initTestCase().
namespace TestSupport {

// Sets the process up as the program does and makes sure the program's
// folder exists. The tests of the windows call initWindows() instead
// (WindowSupport.h).
void init();

// Writes bytes to a file, creating folders; fails the test on error.
QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// A tool's standard output, or "<tool failed>"; the text of a PDF as
// pdftotext reads it (with -layout when asked).
QString runTool(const QString &tool, const QStringList &arguments);
QString pdfText(const QString &pdf, bool layout = true);

// A private folder for Unix sockets: a socket's path has at most 107 bytes,
// which a temporary folder inside a build tree (or a package build's
// deep checkout) easily passes, so it lies directly under /tmp. The folder
// goes when the returned object does.
std::unique_ptr<QTemporaryDir> socketFolder();

} // namespace TestSupport
