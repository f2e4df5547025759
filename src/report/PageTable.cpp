#include "report/PageTable.h"

#include "platform/MappedFile.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <sys/stat.h>

bool PageTable::load(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        if (error)
            *error = QStringLiteral("It is not a regular file.");
        return false;
    }
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        if (error)
            *error = file->errorString();
        return false;
    }
    struct stat st;
    if (::fstat(file->handle(), &st) != 0 || !S_ISREG(st.st_mode)) { // replaced after the check
        if (error)
            *error = QStringLiteral("It is not a regular file.");
        return false;
    }
    std::shared_ptr<const MappedFile> map = MappedFile::map(file->handle(), nullptr);
    if (map) {
        PageTable loaded;
        loaded.cut(QByteArray::fromRawData(map->data(), qsizetype(map->size())));
        loaded.m_mapped = std::move(map);
        if (loaded.changed()) { // the pages would mix the old file and the new
            if (error)
                *error = QStringLiteral("It changed while it was being read.");
            return false;
        }
        *this = std::move(loaded);
        return true;
    }
    // No map (an empty file, or a file system that cannot map): read it.
    QByteArray bytes = file->readAll();
    if (file->error() != QFile::NoError) {
        if (error)
            *error = file->errorString();
        return false;
    }
    setBytes(bytes);
    return true;
}

void PageTable::setBytes(const QByteArray &bytes)
{
    cut(bytes);
    m_mapped.reset();
}

void PageTable::cut(const QByteArray &bytes)
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

bool PageTable::changed() const
{
    return m_mapped && m_mapped->changed();
}

QByteArrayView PageTable::pageView(int i) const
{
    if (i < 0 || i > PageCount())
        return {};
    const qsizetype begin = m_starts.at(i);
    const qsizetype stop = (i + 1 < m_starts.size()) ? m_starts.at(i + 1) - 1 : m_bytes.size();
    if (begin >= m_bytes.size())
        return {};
    return QByteArrayView(m_bytes.constData() + begin, qMin(stop, m_bytes.size()) - begin);
}
