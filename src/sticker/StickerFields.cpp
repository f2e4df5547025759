#include "sticker/StickerFields.h"

#include "codepage/CodePage.h"
#include "sticker/CsvTable.h"

#include <QDir>
#include <QRegularExpression>

namespace {

const QRegularExpression &placeholder()
{
    static const QRegularExpression re(QStringLiteral("\\{([^{}]*)\\}"));
    return re;
}

} // namespace

namespace StickerFields {

bool loadData(StickerInput &input, QString *error)
{
    input.data.reset();
    if (input.dataFile.isEmpty())
        return true;
    auto table = std::make_shared<CsvTable>();
    if (!CsvTable::readFile(input.dataFile, table.get(), error, CsvFormat{input.dataDelimiter, input.dataEncoding}))
        return false;
    input.data = std::move(table);
    return true;
}

QString fill(const QString &text, const CsvTable &table, int row)
{
    if (!text.contains(QLatin1Char('{')))
        return text;
    QString out;
    qsizetype from = 0;
    auto it = placeholder().globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QString value = table.value(row, table.columnIndex(m.captured(1)));
        value.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        value.replace(QLatin1Char('\r'), QLatin1Char(' '));
        value.replace(QLatin1Char('\n'), QLatin1Char(' '));
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += value;
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

QString checkPlaceholders(const StickerWorkingValues &work, int lines)
{
    if (!work.Data)
        return QString();
    if (work.Data->rowCount() == 0)
        return QStringLiteral("The data file%1 has no rows below line 1, which names its columns.")
            .arg(work.Data->fileName().isEmpty() ? QString()
                                                 : QString(QLatin1Char(' ') + QDir::toNativeSeparators(work.Data->fileName())));
    for (int x = 1; x <= qMin(lines, 7); ++x) {
        auto it = placeholder().globalMatch(work.LineSource[size_t(x)]);
        while (it.hasNext()) {
            const QString name = it.next().captured(1);
            if (work.Data->columnIndex(name) >= 0)
                continue;
            const QString file = work.Data->fileName();
            return QStringLiteral("Sticker line %1 holds {%2}, but the data file%4 has no column \"%3\"%5.")
                .arg(x)
                .arg(name, name.trimmed(), file.isEmpty() ? QString() : QString(QLatin1Char(' ') + QDir::toNativeSeparators(file)),
                    file.isEmpty() ? QString() : QStringLiteral(" on its line 1"));
        }
    }
    return QString();
}

QString checkCharacters(const StickerWorkingValues &work, int lines)
{
    if (!work.Data)
        return QString();
    for (int row = 0; row < work.Data->rowCount(); ++row) {
        for (int x = 1; x <= qMin(lines, 7); ++x) {
            const QString text = fill(work.LineSource[size_t(x)], *work.Data, row);
            QByteArray bytes;
            QString missing;
            if (!CodePage::encode(work.SheetCodePage, text, &bytes, &missing))
                return QStringLiteral("Data row %1%5 puts the character %2 on sticker line %3; "
                                      "a character-mode print file has no byte for it in %4.%6")
                    .arg(row + 1)
                    .arg(CodePage::describe(missing))
                    .arg(x)
                    .arg(CodePage::label(work.SheetCodePage))
                    .arg(work.Data->fileName().isEmpty() ? QString()
                                                         : QStringLiteral(" (line %1 of %2)")
                                                               .arg(work.Data->rowLine(row))
                                                               .arg(QDir::toNativeSeparators(work.Data->fileName())))
                    // A file in another code page reads as wrong letters.
                    .arg(work.Data->readAsWindows1252()
                            ? QStringLiteral(" The data file is not UTF-8 and was read as Windows-1252; if it is "
                                             "written in another code page, name it (the data file's Encoding, or --data-encoding).")
                            : QString());
        }
    }
    return QString();
}

} // namespace StickerFields
