#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

// The named values a form keeps for one control instance. Keys are held in
// lower case and matched without regard to case; a value equal to its
// default is not written (and removes an earlier one), and reading a missing
// key gives the default. Keys keep the order they were first written in.
class PropertyBag
{
public:
    QVariant read(const QString &key, const QVariant &defaultValue) const;
    void write(const QString &key, const QVariant &value, const QVariant &defaultValue);
    bool contains(const QString &key) const;
    QStringList keys() const;
    bool isEmpty() const { return m_items.isEmpty(); }

private:
    qsizetype indexOf(const QString &key) const;
    QList<QPair<QString, QVariant>> m_items;
};
