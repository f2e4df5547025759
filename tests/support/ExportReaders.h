#pragma once

// Reading exported files back: the text and character runs of an RTF file,
// the cells of a workbook's first sheet (through unzip), and a mail as
// Python's email parser reads it.
#include <QColor>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <tuple>

namespace ExportReaders {

struct RtfRun
{
    QString text;
    bool bold = false, underline = false;
    int halfPoints = 24;
    QColor colour; // invalid: automatic
    QString font;
    auto look() const { return std::tie(bold, underline, halfPoints, colour, font); }
};

struct RtfContent
{
    QString text;
    QList<RtfRun> runs;
    bool wellFormed = false; // braces balance, nothing after the last
};

inline RtfContent readRtf(const QByteArray &rtf)
{
    struct State
    {
        RtfRun look;
        int colour = 0, font = 0;
        QString table; // "fonttbl", "colortbl" or empty for the body
    };
    static const QRegularExpression token(
        R"(\\([a-z]+)(-?\d+)? ?|\\'([0-9a-f]{2})|\\([\\{}])|\\.|([{}])|[\r\n]|(.))",
        QRegularExpression::DotMatchesEverythingOption);
    RtfContent content;
    QList<State> stack;
    State state;
    QList<QColor> colours;
    QColor next;
    QMap<int, QString> fonts;
    int naming = 0, depth = 0;
    bool skipFallback = false;
    auto add = [&](QChar c) {
        if (state.table == "fonttbl")
            fonts[naming] = c == ';' ? fonts[naming].trimmed() : fonts[naming] + c;
        else if (state.table == "colortbl" && c == ';')
            colours << std::exchange(next, QColor());
        else if (state.table.isEmpty()) {
            RtfRun run = state.look;
            run.colour = colours.value(state.colour); // entry 0: automatic
            run.font = fonts.value(state.font);
            if (content.runs.isEmpty() || content.runs.last().look() != run.look())
                content.runs << run;
            content.runs.last().text += c;
            content.text += c;
        }
    };
    const QString source = QString::fromLatin1(rtf);
    for (auto it = token.globalMatch(source); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString word = m.captured(1);
        const int n = m.captured(2).toInt();
        if (skipFallback && !m.captured(6).isEmpty()) {
            skipFallback = false;
            continue;
        }
        if (m.captured(5) == "{") {
            stack << state, ++depth;
        } else if (m.captured(5) == "}") {
            if (stack.isEmpty())
                return content;
            state = stack.takeLast();
            content.wellFormed = --depth == 0 && m.capturedEnd() == source.trimmed().size();
        } else if (!m.captured(6).isEmpty() || !m.captured(4).isEmpty()) {
            add(m.captured(6).isEmpty() ? m.captured(4).at(0) : m.captured(6).at(0));
        } else if (!m.captured(3).isEmpty()) {
            add(QChar(m.captured(3).toInt(nullptr, 16)));
        } else if (word == "fonttbl" || word == "colortbl") {
            state.table = word;
        } else if (word == "f") {
            (state.table == "fonttbl" ? naming : state.font) = n;
        } else if (word == "red" || word == "green" || word == "blue") {
            if (!next.isValid())
                next = QColor(0, 0, 0);
            word == "red" ? next.setRed(n) : word == "green" ? next.setGreen(n) : next.setBlue(n);
        } else if (word == "b" || word == "ul") {
            (word == "b" ? state.look.bold : state.look.underline) = m.captured(2).isEmpty() || n != 0;
        } else if (word == "ulnone") {
            state.look.underline = false;
        } else if (word == "fs") {
            state.look.halfPoints = n;
        } else if (word == "cf") {
            state.colour = n;
        } else if (word == "par" || word == "page" || word == "tab") {
            add(word == "par" ? '\n' : word == "page" ? '\f' : '\t');
        } else if (word == "u") {
            add(QChar(char16_t(qint16(n))));
            skipFallback = true;
        }
    }
    return content;
}

inline QByteArray unzipped(const QString &zip, const QString &member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    unzip.waitForFinished(30000);
    return unzip.readAllStandardOutput();
}

// The cells of sheet 1 as "A1=text" lines in reference order, strings
// inline or shared.
inline QStringList sheetLines(const QString &workbook)
{
    QStringList shared;
    QXmlStreamReader strings(unzipped(workbook, QStringLiteral("xl/sharedStrings.xml")));
    while (!strings.atEnd()) {
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"si")
            shared << strings.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    QMap<QString, QString> cells;
    QXmlStreamReader sheet(unzipped(workbook, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref, type;
    while (!sheet.atEnd()) {
        if (sheet.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (sheet.name() == u"c") {
            ref = sheet.attributes().value(QStringLiteral("r")).toString();
            type = sheet.attributes().value(QStringLiteral("t")).toString();
        } else if (sheet.name() == u"is") {
            cells[ref] = sheet.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (sheet.name() == u"v") {
            const QString v = sheet.readElementText();
            cells[ref] = type == QLatin1String("s") ? shared.value(v.toInt()) : v;
        }
    }
    QStringList lines;
    for (auto it = cells.cbegin(); it != cells.cend(); ++it)
        lines << it.key() + QLatin1Char('=') + it.value();
    return lines;
}

// A saved mail as JSON: from, to, subject and date decoded, the number of
// headers, the plain text body, and the attachments (name, type and the
// data in base64). Read by Python's email parser, not by GMime, which builds
// the program's mails.
inline QJsonObject readMail(const QString &eml)
{
    static const char script[] = R"(
import base64, email, email.policy, json, sys
m = email.message_from_binary_file(open(sys.argv[1], 'rb'), policy=email.policy.default)
parts = []
for p in m.iter_attachments():
    parts.append({'name': p.get_filename(), 'type': p.get_content_type(),
                  'data': base64.b64encode(p.get_payload(decode=True)).decode()})
body = m.get_body(('plain',))
print(json.dumps({'from': str(m['From'] or ''), 'to': str(m['To']), 'subject': str(m['Subject']),
                  'date': str(m['Date'] or ''), 'headers': len(m.keys()),
                  'body': body.get_content() if body else '', 'attachments': parts}))
)";
    QProcess reader;
    reader.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(script), eml});
    reader.waitForFinished(30000);
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

} // namespace ExportReaders
