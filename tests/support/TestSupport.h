#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QWidget;

// Shared set-up for the tests: call TestSupport::init() in initTestCase().
namespace TestSupport {

// Puts the message boxes and dialogs in test mode, sets the process up and
// fills the globals as the start-up procedure does (without showing the
// main form), and makes sure the program's folder exists.
void init();

// Writes bytes to a file, creating folders; fails the test on error.
QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// Finds a child by objectName or fails the test (Q_ASSERT-style message).
QWidget *child(QWidget *parent, const QString &objectName);

// The names of the buttons and labels under `root` whose caption does not
// show whole in bold (the weight a chosen caption takes).
QStringList clippedCaptions(QWidget *root);

} // namespace TestSupport
