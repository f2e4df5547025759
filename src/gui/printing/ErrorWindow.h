#pragma once

#include "printing/RunTimeError.h"

#include <QString>

class QWidget;

// Shows a run-time error to the user: the procedure label (when given), then
// "Error number: ", "Error context: " and "Description:  " on lines of their
// own, in an exclamation box titled `title` ("Error Window" when blank).
// Restores the normal mouse pointer first. Returns the text (lines joined by
// CR LF); with no error pending it shows nothing and returns "".
QString ShowErrorWindow(
    const QString &procedure, const QString &title, const RunTimeError &error, QWidget *parent = nullptr);
