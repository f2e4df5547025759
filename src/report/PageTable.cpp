#include "report/PageTable.h"

#include "platform/ByteText.h"

#include <cstring>

bool PageTable::load(const QString &path, QString *error)
{
    QByteArray bytes;
    if (!ByteText::readFile(path, &bytes, error))
        return false;
    setBytes(bytes);
    return true;
}

void PageTable::setBytes(const QByteArray &bytes)
{
    m_bytes = bytes;
    m_starts.clear();
    m_starts.append(0);
    const char *data = m_bytes.constData();
    const char *end = data + m_bytes.size();
    for (const char *p = data; p < end;) {
        const void *ff = std::memchr(p, '\f', size_t(end - p));
        if (!ff)
            break;
        p = static_cast<const char *>(ff) + 1;
        m_starts.append(p - data);
    }
    if (m_starts.size() == 1) {
        // No form feed: the whole file is page 1, followed by an empty element.
        m_starts.append(m_bytes.size() + 1);
    }
}

QByteArray PageTable::pageBytes(int i) const
{
    if (i < 0 || i > PageCount())
        return QByteArray();
    const qsizetype begin = m_starts.at(i);
    const qsizetype stop = (i + 1 < m_starts.size()) ? m_starts.at(i + 1) - 1 : m_bytes.size();
    if (begin >= m_bytes.size())
        return QByteArray();
    return m_bytes.mid(begin, qMin(stop, m_bytes.size()) - begin);
}
