#include "gui/controls/PropertyBag.h"

#include <QFont>

namespace {

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.typeId() == QMetaType::QFont && b.typeId() == QMetaType::QFont)
        return a.value<QFont>() == b.value<QFont>();
    return a == b;
}

} // namespace

qsizetype PropertyBag::indexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).first.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant PropertyBag::read(const QString &key, const QVariant &defaultValue) const
{
    const qsizetype i = indexOf(key);
    return i < 0 ? defaultValue : m_items.at(i).second;
}

void PropertyBag::write(const QString &key, const QVariant &value, const QVariant &defaultValue)
{
    const qsizetype i = indexOf(key);
    if (defaultValue.isValid() && sameValue(value, defaultValue)) {
        if (i >= 0)
            m_items.removeAt(i);
        return;
    }
    if (i >= 0)
        m_items[i].second = value;
    else
        m_items.append({key, value});
}

bool PropertyBag::contains(const QString &key) const
{
    return indexOf(key) >= 0;
}

QStringList PropertyBag::keys() const
{
    QStringList list;
    for (const auto &item : m_items)
        list << item.first;
    return list;
}
