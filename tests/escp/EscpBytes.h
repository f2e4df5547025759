#pragma once

#include <QByteArray>

#include <initializer_list>

// Print-file bytes written in the ESC/P tests' tables: E is ESC, b({...}) the
// bytes given by value (parameters, picture data).
namespace {

const QByteArray E("\x1b");

QByteArray b(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int c : bytes)
        out.append(char(c));
    return out;
}

} // namespace
