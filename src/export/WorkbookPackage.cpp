#include "export/WorkbookPackage.h"

#include "export/MinizipLibrary.h"

#include <QByteArray>
#include <QFile>
#include <cstring>
#include <vector>

namespace WorkbookPackage {

namespace {

constexpr qsizetype HeadSize = 512;
constexpr qsizetype TailSize = 64;

// The name of the root element: the first tag that is not a declaration,
// a comment or a processing instruction.
QByteArray rootName(const QByteArray &head)
{
    qsizetype i = head.indexOf('<');
    while (i >= 0 && i + 1 < head.size() && (head.at(i + 1) == '?' || head.at(i + 1) == '!'))
        i = head.indexOf('<', i + 1);
    if (i < 0)
        return QByteArray();
    qsizetype end = i + 1;
    while (end < head.size() && !std::strchr(" \t\r\n/>", head.at(end)))
        ++end;
    return head.mid(i + 1, end - i - 1);
}

// Reads the current member; true when it is whole XML.
bool memberComplete(const MinizipLibrary &zip, unzFile file)
{
    if (zip.unzOpenCurrentFile(file) != UNZ_OK)
        return false;
    QByteArray head;
    QByteArray tail;
    std::vector<char> chunk(1 << 16);
    const char *buffer = chunk.data();
    int got;
    while ((got = zip.unzReadCurrentFile(file, chunk.data(), unsigned(chunk.size()))) > 0) {
        if (head.size() < HeadSize)
            head.append(buffer, qMin<qsizetype>(got, HeadSize - head.size()));
        tail.append(buffer + qMax(0, got - int(TailSize)), qMin(got, int(TailSize)));
        tail = tail.right(TailSize);
    }
    // Closing checks the checksum of what was read.
    const bool read = zip.unzCloseCurrentFile(file) == UNZ_OK && got == 0;
    const QByteArray root = rootName(head);
    return read && !root.isEmpty() && tail.trimmed().endsWith("</" + root + '>');
}

} // namespace

bool complete(const QString &path, QString *member, quint64 *size)
{
    member->clear();
    *size = 0;
    const MinizipLibrary *library = MinizipLibrary::get(nullptr);
    if (!library)
        return false;
    const MinizipLibrary &zip = *library;
    unzFile file = zip.unzOpen64(QFile::encodeName(path).constData());
    if (!file)
        return false;
    int members = 0;
    int next = zip.unzGoToFirstFile(file);
    while (next == UNZ_OK) {
        ++members;
        char name[512];
        unz_file_info64 info;
        if (zip.unzGetCurrentFileInfo64(file, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        if (!memberComplete(*library, file)) {
            *member = QString::fromUtf8(name);
            *size = info.uncompressed_size;
            break;
        }
        next = zip.unzGoToNextFile(file);
    }
    zip.unzClose(file);
    return next == UNZ_END_OF_LIST_OF_FILE && members > 0;
}

} // namespace WorkbookPackage
