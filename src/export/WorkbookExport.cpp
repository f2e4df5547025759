#include "export/WorkbookExport.h"

#include "export/MinizipLibrary.h"
#include "export/PrintFileLines.h"
#include "export/WorkbookPackage.h"
#include "export/XlsxWriterLibrary.h"
#include "pdf/PdfFinishing.h"
#include "platform/LibraryMessagesHeldBack.h"
#include "platform/OutputFile.h"

#include <QDir>
#include "platform/FileStamp.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <sys/resource.h>

namespace WorkbookExport {

namespace {

constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;
constexpr int MaxCellChars = 32767;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Why libxlsxwriter failed: the system's reason where the failure was the
// system's (a full disk, a file-size limit), its own text otherwise.
QString causeOf(const XlsxWriterLibrary &xlsx, lxw_error error, int systemError)
{
    const bool fromSystem = error == LXW_ERROR_ZIP_FILE_OPERATION || error == LXW_ERROR_CREATING_XLSX_FILE
        || error == LXW_ERROR_CREATING_TMPFILE;
    return fromSystem && systemError != 0 ? qt_error_string(systemError)
                                          : QString::fromUtf8(xlsx.lxw_strerror(error));
}

// Why a member came out short: past the file-size limit, or else a write
// that failed for a reason nobody reported.
QString shortMemberCause(const QString &member, quint64 size)
{
    rlimit limit;
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && size >= limit.rlim_cur)
        return qt_error_string(EFBIG);
    if (member.isEmpty())
        return QObject::tr("the workbook cannot be read back.");
    return QObject::tr("its part %1 was not written in full.").arg(member);
}

} // namespace

QVector<Cell> cutLine(const QByteArray &line, const QVector<int> &ColumnMarks)
{
    QVector<Cell> cells;
    for (int j = 0; j + 1 < ColumnMarks.size(); ++j) {
        const int start = ColumnMarks.at(j);
        // The last piece runs from the last mark to the line's end (it had
        // been left out: the last column of every line was lost).
        const int length = j + 2 == ColumnMarks.size() ? int(qMin<qsizetype>(line.size(), INT_MAX)) - start
                                                        : ColumnMarks.at(j + 1) - start;
        if (length <= 0 || start < 0 || start >= line.size())
            continue;
        cells.append({j, line.mid(start, length)});
    }
    return cells;
}

QByteArray cellText(const QByteArray &piece, CodePage::Id codePage)
{
    const char16_t *table = CodePage::table(codePage);
    QByteArray utf8;
    utf8.reserve(piece.size() + piece.size() / 4);
    for (const char byte : piece) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x20 && c != '\t' && c != '\n')
            continue;
        const char16_t u = table[c];
        if (u < 0x80) {
            utf8 += char(u);
        } else if (u < 0x800) {
            utf8 += char(0xC0 | (u >> 6));
            utf8 += char(0x80 | (u & 0x3F));
        } else {
            utf8 += char(0xE0 | (u >> 12));
            utf8 += char(0x80 | ((u >> 6) & 0x3F));
            utf8 += char(0x80 | (u & 0x3F));
        }
    }
    return utf8;
}

bool numberOf(const QByteArray &piece, double *value)
{
    const QByteArray number = piece.trimmed();
    qsizetype i = (number.startsWith('-') || number.startsWith('+')) ? 1 : 0;
    const qsizetype firstDigit = i;
    int digits = 0;
    while (i < number.size() && std::isdigit(static_cast<unsigned char>(number.at(i))))
        ++i, ++digits;
    const qsizetype integerDigits = i - firstDigit;
    if (integerDigits == 0 || (integerDigits > 1 && number.at(firstDigit) == '0'))
        return false;
    if (i < number.size() && number.at(i) == '.') {
        ++i;
        const qsizetype fractionStart = i;
        while (i < number.size() && std::isdigit(static_cast<unsigned char>(number.at(i))))
            ++i, ++digits;
        if (i == fractionStart)
            return false;
    }
    if (i != number.size() || digits > 15)
        return false;
    bool ok = false;
    *value = number.toDouble(&ok);
    return ok;
}

namespace {

// Starts the workbook in the save file `out` (libxlsxwriter writes to a
// file name: the save file's own, through /proc) and its one worksheet;
// null when either cannot be made. The workbook is dated as a PDF of the
// same print file is (PdfFinishing::creationDate), so the same file gives
// the same workbook; libxlsxwriter would take the clock.
lxw_workbook *startWorkbook(
    const XlsxWriterLibrary &xlsx, const QString &partPath, const QDateTime &made, lxw_worksheet **sheet)
{
    const QByteArray partName = QFile::encodeName(partPath);
    const QByteArray tempFolder = QFile::encodeName(QFileInfo(QFile::symLinkTarget(partPath)).absolutePath());
    lxw_workbook_options options {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char *>(tempFolder.constData());
    const LibraryMessagesHeldBack quiet;
    lxw_workbook *workbook = xlsx.workbook_new_opt(partName.constData(), &options);
    if (workbook && made.isValid() && made.toSecsSinceEpoch() > 0) {
        lxw_doc_properties properties {};
        properties.created = static_cast<time_t>(made.toSecsSinceEpoch());
        xlsx.workbook_set_properties(workbook, &properties);
    }
    *sheet = workbook ? xlsx.workbook_add_worksheet(workbook, nullptr) : nullptr;
    if (!*sheet && workbook) {
        xlsx.workbook_close(workbook);
        return nullptr;
    }
    return workbook;
}

// Writes the print file's lines into the worksheet, a row each, cut at the
// column marks; what went wrong, or empty.
QString writeRows(const XlsxWriterLibrary &xlsx, lxw_worksheet *sheet, QFile &in, const QVector<int> &ColumnMarks,
    CodePage::Id codePage, const Progress &progress, const QString &printFilePath, const QString &workbookPath)
{
    const FileStamp stamp = FileStamp::of(in.handle());
    QString problem;
    PrintFileLines lines(in);
    QByteArray line;
    int row = 0; // 0-based row of the line being written
    while (problem.isEmpty() && lines.next(&line)) {
        if (row >= MaxRows) {
            problem = QObject::tr("Cannot write %1: the print file has more than %2 lines, more than a "
                                  "worksheet holds.")
                          .arg(native(workbookPath))
                          .arg(MaxRows);
            break;
        }
        for (const Cell &cell : cutLine(line, ColumnMarks)) {
            if (cell.column >= MaxColumns)
                break;
            double number = 0;
            lxw_error result = LXW_NO_ERROR;
            if (numberOf(cell.text, &number)) {
                result = xlsx.worksheet_write_number(
                    sheet, lxw_row_t(row), lxw_col_t(cell.column), number, nullptr);
            } else {
                const QByteArray text = cellText(cell.text.left(MaxCellChars), codePage);
                if (text.isEmpty())
                    continue;
                result = xlsx.worksheet_write_string(
                    sheet, lxw_row_t(row), lxw_col_t(cell.column), text.constData(), nullptr);
            }
            if (result != LXW_NO_ERROR) {
                problem = QObject::tr("Cannot write %1: %2")
                              .arg(native(workbookPath), QString::fromUtf8(xlsx.lxw_strerror(result)));
                break;
            }
        }
        ++row;
        if (problem.isEmpty() && progress && !progress(row + 1))
            problem = QObject::tr("The workbook %1 was not written: the export was stopped.")
                          .arg(native(workbookPath));
    }
    if (problem.isEmpty() && lines.failed())
        problem
            = QObject::tr("Cannot read the print file %1: %2").arg(native(printFilePath), in.errorString());
    if (problem.isEmpty() && stamp.changed(in.handle()))
        problem = QObject::tr("Cannot read the print file %1: it %2.")
                      .arg(native(printFilePath), FileStamp::changedText());
    return problem;
}

} // namespace

bool write(const QString &printFilePath, const QString &workbookPath, const QVector<int> &ColumnMarks,
    const Progress &progress, QString *error, CodePage::Id codePage)
{
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    // Both libraries are loaded before anything is opened: a missing one
    // leaves no file behind.
    QString missing;
    const XlsxWriterLibrary *library = XlsxWriterLibrary::get(&missing);
    if (!library || !MinizipLibrary::get(&missing))
        return fail(QObject::tr("Cannot write %1: %2").arg(native(workbookPath), missing));
    const XlsxWriterLibrary &xlsx = *library;

    QFile in(printFilePath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(
            QObject::tr("Cannot read the print file %1: %2").arg(native(printFilePath), in.errorString()));

    // libxlsxwriter writes to a file name: it is given the save file's
    // temporary file, so the workbook is saved like every other export
    // (whole or not at all, through a link, never over a device or a
    // read-only file). Its own temporary files go beside it, where the
    // workbook needs the room anyway, rather than into a temporary folder
    // that may be full.
    OutputFile out(workbookPath);
    if (!out.open(QIODevice::WriteOnly))
        return fail(QObject::tr("Cannot write %1: %2").arg(native(workbookPath), out.errorString()));
    const QString partPath = QStringLiteral("/proc/self/fd/%1").arg(out.handle());

    lxw_worksheet *sheet = nullptr;
    const QDateTime made = PdfFinishing::creationDate(QFileInfo(in).lastModified().toUTC());
    lxw_workbook *workbook = startWorkbook(xlsx, partPath, made, &sheet);
    if (!workbook)
        return fail(
            QObject::tr("Cannot write %1: the workbook could not be started.").arg(native(workbookPath)));
    QString problem = writeRows(xlsx, sheet, in, ColumnMarks, codePage, progress, printFilePath, workbookPath);

    // Closing also frees the workbook; what it wrote is dropped on failure.
    lxw_error closed;
    int systemError;
    {
        const LibraryMessagesHeldBack quiet;
        errno = 0;
        closed = xlsx.workbook_close(workbook);
        systemError = errno;
    }
    if (problem.isEmpty() && closed != LXW_NO_ERROR)
        problem = QObject::tr("Cannot write %1: %2")
                      .arg(native(workbookPath), causeOf(xlsx, closed, systemError));
    QString member;
    quint64 memberSize = 0;
    if (problem.isEmpty() && !WorkbookPackage::complete(partPath, &member, &memberSize))
        problem = QObject::tr("Cannot write %1: %2")
                      .arg(native(workbookPath), shortMemberCause(member, memberSize));
    if (!problem.isEmpty()) {
        out.cancelWriting();
        return fail(problem);
    }
    if (!out.commit())
        return fail(QObject::tr("Cannot write %1: %2").arg(native(workbookPath), out.errorString()));
    return true;
}

} // namespace WorkbookExport
