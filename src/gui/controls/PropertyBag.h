#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

// The named values a form keeps for one control instance. Keys are matched
// without regard to case and keep the spelling and order they were first
// written in; a value equal to its default is not written (and removes an
// earlier one); with no default given the value is always written. Reading a
// missing key gives the default.
class PropertyBag
{
public:
    QVariant read(const QString &key, const QVariant &defaultValue = QVariant()) const;
    void write(const QString &key, const QVariant &value, const QVariant &defaultValue = QVariant());
    bool contains(const QString &key) const;
    QStringList keys() const;
    bool isEmpty() const { return m_items.isEmpty(); }

private:
    qsizetype indexOf(const QString &key) const;
    QList<QPair<QString, QVariant>> m_items;
};
