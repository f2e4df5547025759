#pragma once

#include <QString>

// Numbers typed by the user are taken by their leading numeric part: spaces
// before it are skipped, then an optional sign, digits and one decimal point.
// An empty or non-numeric text counts as 0.
namespace NumericText {

double leadingNumber(const QString &text);

// Rounded to the nearest whole number, halves to even.
long long roundedValue(const QString &text);

// True when the whole text (spaces around it allowed) is a number.
bool isNumber(const QString &text);

} // namespace NumericText
