#include "sticker/CsvTable.h"

#include "codepage/CodePage.h"
#include "platform/ByteText.h"
#include "platform/FileChecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Windows-1252 through the code page's own table. The five bytes it leaves
// unassigned keep their Latin-1 (control) meaning in a data file, as
// Windows reads them, rather than the code page's stand-ins for them.
QString fromWindows1252(const QByteArray &bytes)
{
    QString text = CodePage::decode(CodePage::Id::Windows1252, bytes);
    for (QChar &c : text) {
        if (c.unicode() >= 0xF780 && c.unicode() <= 0xF79F)
            c = QChar(ushort(c.unicode() - 0xF700));
    }
    return text;
}

} // namespace

namespace {

struct Mark
{
    QByteArrayView bytes;
    QStringConverter::Encoding encoding;
};
const Mark Marks[] = { { "\xEF\xBB\xBF", QStringConverter::Utf8 }, { "\xFF\xFE", QStringConverter::Utf16LE },
    { "\xFE\xFF", QStringConverter::Utf16BE } };

// Bytes whose encoding a byte-order mark says, or that are UTF-8: read as
// they are meant without naming an encoding.
bool decodedUnguessed(const QByteArray &bytes)
{
    for (const Mark &mark : Marks) {
        if (bytes.startsWith(mark.bytes))
            return true;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString decoded = utf8.decode(bytes);
    return !utf8.hasError();
}

} // namespace

bool CsvTable::decode(const QByteArray &bytes, const QString &encoding, QString *text)
{
    for (const Mark &mark : Marks) {
        if (bytes.startsWith(mark.bytes)) {
            QStringDecoder decoder(mark.encoding, QStringConverter::Flag::Stateless);
            *text = decoder(QByteArrayView(bytes).sliced(mark.bytes.size()));
            return true;
        }
    }
    if (!encoding.isEmpty()) {
        QStringDecoder decoder(encoding.toLatin1().constData(), QStringConverter::Flag::Stateless);
        if (!decoder.isValid())
            return false;
        *text = decoder(bytes);
        return true;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    *text = utf8(bytes);
    if (utf8.hasError())
        *text = fromWindows1252(bytes);
    return true;
}

QChar CsvTable::detectDelimiter(const QString &text)
{
    // Counted outside quotes on the header line, as a name may hold a comma.
    int counts[3] = {};
    const QChar candidates[3] = { QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t') };
    bool inQuotes = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            inQuotes = !inQuotes;
        else if (!inQuotes && (c == QLatin1Char('\r') || c == QLatin1Char('\n')))
            break;
        else if (!inQuotes)
            for (int k = 0; k < 3; ++k)
                counts[k] += c == candidates[k];
    }
    int best = 0;
    for (int k = 1; k < 3; ++k)
        if (counts[k] > counts[best])
            best = k;
    return candidates[best];
}

QStringList CsvTable::encodingNames()
{
    return { QStringLiteral("UTF-8"), QStringLiteral("UTF-16LE"), QStringLiteral("UTF-16BE"),
        QStringLiteral("Windows-1250"), QStringLiteral("Windows-1252"), QStringLiteral("ISO-8859-1"),
        QStringLiteral("ISO-8859-2") };
}

bool CsvTable::isKnownEncoding(const QString &name)
{
    return !name.isEmpty() && QStringDecoder(name.toLatin1().constData()).isValid();
}

QChar CsvTable::delimiterNamed(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("comma") || n == QLatin1String(","))
        return QLatin1Char(',');
    if (n == QLatin1String("semicolon") || n == QLatin1String(";"))
        return QLatin1Char(';');
    if (n == QLatin1String("tab") || n == QLatin1String("\t"))
        return QLatin1Char('\t');
    return QChar();
}

bool CsvTable::readFile(const QString &path, CsvTable *table, QString *error, const CsvFormat &format)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    QString reason;
    QByteArray bytes;
    QString text;
    if (!info.exists())
        reason = QCoreApplication::translate("Sticker", "the file does not exist");
    else if (!FileChecks::inputProblem(path).isEmpty()) // said in the user's language
        reason = QCoreApplication::translate("Sticker", "it is not a regular file");
    else if (!ByteText::readFile(path, &bytes, &reason))
        ;
    else if (!decode(bytes, format.encoding, &text))
        reason = QStringLiteral("the encoding \"%1\" is not known").arg(format.encoding);
    else if (parse(text, table, &reason, format.delimiter.isNull() ? detectDelimiter(text) : format.delimiter)) {
        table->m_fileName = path;
        table->m_readAsWindows1252 = format.encoding.isEmpty() && !decodedUnguessed(bytes);
        return true;
    }
    if (error)
        *error = QCoreApplication::translate("Sticker", "The data file %1 cannot be used: %2.")
                     .arg(shown, reason);
    return false;
}

bool CsvTable::parse(const QString &text, CsvTable *table, QString *error, QChar delimiter)
{
    QList<QStringList> records;
    QList<int> recordLines; // where each record begins
    int recordLine = 1;
    QStringList record;
    QString field;
    bool inQuotes = false;
    bool fieldQuoted = false; // the field began with a quote
    bool lastQuoted = false;  // so did the field just ended
    int line = 1;
    int quoteLine = 0;

    auto endField = [&] {
        record << field;
        field.clear();
        lastQuoted = fieldQuoted;
        fieldQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        // A blank line is no record; a line holding only "" is one.
        if (record.size() > 1 || !record.first().isEmpty() || lastQuoted) {
            records << record;
            recordLines << recordLine;
        }
        record.clear();
    };

    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const bool crlf = c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n');
        if (c.isNull()) { // it would end the text the printer is sent
            if (error)
                *error = QCoreApplication::translate("Sticker", "line %1 holds a NUL character").arg(line);
            return false;
        }
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
                continue;
            }
            if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && !crlf))
                ++line;
            field += c;
        } else if (c == QLatin1Char('"') && field.isEmpty() && !fieldQuoted) {
            inQuotes = true;
            fieldQuoted = true;
            quoteLine = line;
        } else if (c == delimiter) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (crlf)
                ++i;
            endRecord();
            recordLine = ++line;
        } else {
            field += c;
        }
    }
    if (inQuotes) {
        if (error)
            *error = QCoreApplication::translate(
                "Sticker", "the quoted field that starts on line %1 is not closed")
                         .arg(quoteLine);
        return false;
    }
    if (!field.isEmpty() || !record.isEmpty() || fieldQuoted)
        endRecord();
    if (records.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("Sticker", "it has no line naming the columns");
        return false;
    }
    table->m_columns = records.takeFirst();
    table->m_rows = std::move(records);
    recordLines.removeFirst();
    table->m_rowLines = std::move(recordLines);
    return true;
}

int CsvTable::rowLine(int row) const
{
    return row >= 0 && row < m_rowLines.size() ? m_rowLines.at(row) : 0;
}

int CsvTable::columnIndex(const QString &name) const
{
    const QString wanted = name.trimmed();
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).trimmed() == wanted)
            return i;
    return -1;
}

QString CsvTable::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0)
        return QString();
    const QStringList &values = m_rows.at(row);
    return column < values.size() ? values.at(column) : QString();
}
