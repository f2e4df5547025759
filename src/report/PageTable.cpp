#include "report/PageTable.h"

#include "platform/FileChecks.h"
#include "platform/FileStamp.h"
#include "platform/MappedFile.h"

#include <QFile>
#include <QFileInfo>

#include "report/PageCutter.h"

#include <climits>
#include <cstring>
#include <sys/stat.h>

namespace {

// The bytes a whole cut reads before it keeps the starts it found.
constexpr qsizetype CutStretch = 1 << 20;
// The most starts the cut keeps: with the element after the last page,
// PageCount() is at most INT_MAX - 1.
constexpr qsizetype MostStarts = INT_MAX - 1;

} // namespace

bool PageTable::load(const QString &path, QString *error, MapAhead ahead, LineEnds lineEnds)
{
    return openFile(path, true, ahead, lineEnds, error);
}

bool PageTable::open(const QString &path, QString *error, MapAhead ahead)
{
    return openFile(path, false, ahead, IgnoreLineEnds, error);
}

bool PageTable::openFile(const QString &path, bool cutNow, MapAhead ahead, LineEnds lineEnds, QString *error)
{
    if (!FileChecks::inputProblem(path).isEmpty()) { // said in the user's language
        if (error)
            *error = QObject::tr("It is not a regular file.");
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
            *error = QObject::tr("It is not a regular file.");
        return false;
    }
    std::shared_ptr<const MappedFile> map = MappedFile::map(
        file->handle(), nullptr, ahead == MapWhole ? MappedFile::ReadAhead : MappedFile::ReadOnDemand);
    if (map) {
        PageTable loaded;
        loaded.m_mapped = std::move(map);
        const QByteArray bytes
            = QByteArray::fromRawData(loaded.m_mapped->data(), qsizetype(loaded.m_mapped->size()));
        if (cutNow) {
            loaded.cut(bytes, lineEnds);
        } else { // the caller cuts it
            loaded.m_bytes = bytes;
            loaded.m_starts = {0};
            loaded.m_complete = false;
        }
        if (loaded.changed()) { // the pages would mix the old file and the new
            if (error)
                *error = QObject::tr("It changed while it was being read.");
            return false;
        }
        *this = std::move(loaded);
        return true;
    }
    // No map (an empty file, or a file system that cannot map): read it.
    const FileStamp stamp = FileStamp::of(file->handle());
    QByteArray bytes = file->readAll();
    if (file->error() != QFile::NoError) {
        if (error)
            *error = file->errorString();
        return false;
    }
    if (stamp.changed(file->handle())) {
        if (error)
            *error = QObject::tr("It changed while it was being read.");
        return false;
    }
    setBytes(bytes);
    return true;
}

void PageTable::setBytes(const QByteArray &bytes)
{
    const auto previous = std::move(m_mapped); // these bytes are not the map's: the cut reads them as they are
    cut(bytes);
}

void PageTable::cut(const QByteArray &bytes, LineEnds lineEnds)
{
    m_bytes = bytes;
    m_starts = {0};
    m_complete = false;
    PageCutter cutter{QByteArrayView(m_bytes), m_mapped.get(), PageCutter::BlockSize, lineEnds == NoteLineEnds};
    // A stretch at a time, so that the starts found are never many more
    // than the table keeps (a megabyte of form feeds is a million pages).
    QVector<qsizetype> found;
    while (!cutter.atEnd()) {
        cutter.cutTo(cutter.position() + CutStretch, &found);
        addStarts(found);
        found.clear();
    }
    m_lineEndsAllCrLf = cutter.lineEndsAllCrLf();
    finishCut();
}

void PageTable::addStarts(const QVector<qsizetype> &starts)
{
    // Pages are counted in an int: once the table holds as many as that
    // counts, the rest of the file is the last page's, form feeds and all,
    // as the sheets end at an int's range. (2.2 GB of nothing but form
    // feeds was "past the last page (-2080374784)".)
    const qsizetype room = MostStarts - m_starts.size();
    if (starts.size() <= room) {
        m_starts.append(starts);
        return;
    }
    for (qsizetype i = 0; i < room; ++i)
        m_starts.append(starts.at(i));
}

void PageTable::finishCut()
{
    if (m_complete)
        return;
    // Either way an empty element follows the last page.
    if (PageCutter::tailIsPage(QByteArrayView(m_bytes), m_starts.last(), m_starts.size() > 1))
        m_starts.append(m_bytes.size() + 1);
    m_complete = true;
}

void PageTable::copyBytes(qsizetype from, qsizetype length, char *into) const
{
    if (m_mapped)
        m_mapped->copy(from, length, into);
    else
        std::memcpy(into, m_bytes.constData() + from, size_t(length));
}

qsizetype PageTable::copyToFile(qsizetype from, qsizetype length, int out) const
{
    return m_mapped ? m_mapped->copyToFile(from, length, out) : 0;
}

bool PageTable::changed() const
{
    return m_mapped && m_mapped->changed();
}

int PageTable::pageAt(qsizetype at) const
{
    int low = 0, high = PageCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (m_starts.at(middle) <= at)
            low = middle;
        else
            high = middle - 1;
    }
    return qMax(0, low);
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
