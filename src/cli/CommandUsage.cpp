#include "cli/CommandUsage.h"

#include <QList>

namespace CommandUsage {

namespace {

using CommandLine::Command;
using CommandLine::CommandForm;

// A form read into its parts.
struct Part
{
    enum Type { Word, Sequence, Choice, Optional, Group };
    Type type = Word;
    QString word;
    QList<Part> parts;
};

struct Token
{
    enum Type { Word, Open, Close, OpenGroup, CloseGroup, TightBar, LooseBar, End };
    Type type = End;
    QString word;
};

QList<Token> tokens(const QString &pattern)
{
    QList<Token> result;
    QString word;
    const auto endWord = [&] {
        if (!word.isEmpty())
            result.append({Token::Word, word});
        word.clear();
    };
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char(' ')) {
            endWord();
        } else if (c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char('(')
            || c == QLatin1Char(')')) {
            endWord();
            result.append({c == QLatin1Char('[') ? Token::Open
                    : c == QLatin1Char(']')      ? Token::Close
                    : c == QLatin1Char('(')      ? Token::OpenGroup
                                                 : Token::CloseGroup,
                QString()});
        } else if (c == QLatin1Char('|')) {
            endWord();
            const bool loose = (i > 0 && pattern.at(i - 1) == QLatin1Char(' '))
                || (i + 1 < pattern.size() && pattern.at(i + 1) == QLatin1Char(' '));
            result.append({loose ? Token::LooseBar : Token::TightBar, QString()});
        } else {
            word += c;
        }
    }
    endWord();
    result.append({Token::End, QString()});
    return result;
}

// sequences := sequence (" | " sequence)*; sequence := choice+;
// choice := atom ("|" atom)*; atom := WORD | "[" sequences "]" | "(" sequences ")"
class Reader
{
public:
    explicit Reader(const QString &pattern)
        : m_tokens(tokens(pattern))
    { }

    bool read(Part *form)
    {
        *form = sequences();
        return m_good && next().type == Token::End;
    }

private:
    const Token &next() const { return m_tokens.at(qMin(m_at, m_tokens.size() - 1)); }

    Part sequences()
    {
        Part first = sequence();
        if (next().type != Token::LooseBar)
            return first;
        Part choice {Part::Choice, QString(), {first}};
        while (next().type == Token::LooseBar) {
            ++m_at;
            choice.parts.append(sequence());
        }
        return choice;
    }

    Part sequence()
    {
        Part result {Part::Sequence, QString(), {}};
        while (next().type == Token::Word || next().type == Token::Open || next().type == Token::OpenGroup)
            result.parts.append(choice());
        m_good = m_good && !result.parts.isEmpty();
        return result;
    }

    Part choice()
    {
        Part first = atom();
        if (next().type != Token::TightBar)
            return first;
        Part result {Part::Choice, QString(), {first}};
        while (next().type == Token::TightBar) {
            ++m_at;
            result.parts.append(atom());
        }
        return result;
    }

    Part atom()
    {
        const Token token = next();
        ++m_at;
        if (token.type == Token::Word)
            return {Part::Word, token.word, {}};
        if (token.type != Token::Open && token.type != Token::OpenGroup) {
            m_good = false;
            return {};
        }
        Part inner = sequences();
        m_good = m_good && next().type == (token.type == Token::Open ? Token::Close : Token::CloseGroup);
        ++m_at;
        return {token.type == Token::Open ? Part::Optional : Part::Group, QString(), {inner}};
    }

    QList<Token> m_tokens;
    qsizetype m_at = 0;
    bool m_good = true;
};

Part read(const CommandForm &form, bool *good = nullptr)
{
    Part part;
    const bool read = Reader(QString::fromUtf8(form.pattern)).read(&part);
    if (good)
        *good = read;
    return part;
}

bool isOption(const QString &word)
{
    return word.size() > 1 && word.startsWith(QLatin1Char('-'));
}

const QString Others = QStringLiteral("OPTIONS");

// The option a word of a form names.
const CommandOption *optionOf(const Command &command, const QString &word)
{
    return isOption(word)
        ? optionNamed(command.options, word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1))
        : nullptr;
}

void namedOptions(const Command &command, const Part &part, QList<const CommandOption *> *named)
{
    if (const CommandOption *option = part.type == Part::Word ? optionOf(command, part.word) : nullptr)
        named->append(option);
    for (const Part &inner : part.parts)
        namedOptions(command, inner, named);
}

// The options that [OPTIONS] stands for: those no form names.
QList<const CommandOption *> otherOptions(const Command &command)
{
    QList<const CommandOption *> named;
    for (const CommandForm &form : command.forms)
        namedOptions(command, read(form), &named);
    QList<const CommandOption *> others;
    for (const CommandOption &option : command.options) {
        if (!option.hidden && !named.contains(&option))
            others.append(&option);
    }
    return others;
}

// How a part is written: as text, or as roff.
struct Style
{
    bool roff = false;
    bool brief = false; // optional options left out
};

QString roffEscaped(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\e")).replace(QLatin1Char('-'), QLatin1String("\\-"));
    // "FILE..." ends no sentence: no wider space after it.
    return escaped.endsWith(QLatin1Char('.')) ? escaped + QLatin1String("\\&") : escaped;
}

QString bold(const QString &text, const Style &style)
{
    return style.roff ? QStringLiteral("\\fB%1\\fR").arg(roffEscaped(text)) : text;
}

QString italic(const QString &text, const Style &style)
{
    return style.roff ? QStringLiteral("\\fI%1\\fR").arg(roffEscaped(text)) : text;
}

// In the manual, the spaces inside a part hold it on one line.
QString space(const Style &style)
{
    return style.roff ? QStringLiteral("\\ ") : QStringLiteral(" ");
}

QString optionText(const CommandOption &option, const QString &typed, const Style &style)
{
    QString text = bold(typed, style);
    if (!option.takesValue())
        return text;
    if (option.valueText() != option.valueName) {
        QStringList choices;
        for (const QString &choice : option.choices)
            choices << bold(choice, style);
        return text + space(style) + choices.join(QLatin1Char('|'));
    }
    return text + space(style) + italic(option.valueName, style);
}

QString wordText(const Command &command, const QString &word, const Style &style)
{
    if (const CommandOption *option = optionOf(command, word))
        return optionText(*option, word, style);
    if (word.toLower() != word)
        return italic(word, style); // an argument
    return bold(word, style);
}

// Whether a part is only words typed as they are ("[view]").
bool onlyLiterals(const Part &part)
{
    if (part.type == Part::Word)
        return !isOption(part.word) && part.word.toLower() == part.word;
    for (const Part &inner : part.parts) {
        if (!onlyLiterals(inner))
            return false;
    }
    return true;
}

QString written(const Command &command, const Part &part, const Style &style)
{
    QStringList pieces;
    switch (part.type) {
    case Part::Word:
        return wordText(command, part.word, style);
    case Part::Sequence:
        for (const Part &inner : part.parts) {
            const QString piece = written(command, inner, style);
            if (!piece.isEmpty())
                pieces << piece;
        }
        return pieces.join(space(style));
    case Part::Choice: {
        bool spaced = false;
        for (const Part &inner : part.parts) {
            pieces << written(command, inner, style);
            spaced = spaced || pieces.constLast().contains(space(style));
        }
        return pieces.join(spaced ? space(style) + QLatin1Char('|') + space(style) : QStringLiteral("|"));
    }
    case Part::Optional:
        if (style.brief && !onlyLiterals(part))
            return QString();
        if (part.parts.first().type == Part::Sequence && part.parts.first().parts.size() == 1
            && part.parts.first().parts.first().word == Others) {
            for (const CommandOption *option : otherOptions(command))
                pieces << QStringLiteral("[%1]").arg(optionText(*option, option->longName(), style));
            return pieces.join(style.roff ? QStringLiteral("\n") : QStringLiteral(" "));
        }
        return QStringLiteral("[%1]").arg(written(command, part.parts.first(), style));
    case Part::Group:
        return QStringLiteral("(%1)").arg(written(command, part.parts.first(), style));
    }
    return QString();
}

QString line(const Command &command, const CommandForm &form, const Style &style)
{
    return QStringLiteral("sticker2 ") + written(command, read(form), style);
}

} // namespace

QStringList lines(const Command &command)
{
    QStringList result;
    for (const CommandForm &form : command.forms)
        result << line(command, form, Style());
    return result;
}

QString text(const Command &command)
{
    return lines(command).join(QStringLiteral("\n  or:  "));
}

QString brief(const Command &command, const CommandForm &form)
{
    return line(command, form, Style {false, true});
}

QString manual(const Command &command)
{
    QString text;
    const Style roff {true, false};
    for (const CommandForm &form : command.forms) {
        // The top-level parts one to a line: roff breaks the line between them.
        const Part part = read(form);
        text += QStringLiteral(".SY sticker2\n");
        for (const Part &inner : part.type == Part::Sequence ? part.parts : QList<Part> {part}) {
            const QString piece = written(command, inner, roff);
            if (!piece.isEmpty())
                text += piece + QLatin1Char('\n');
        }
        text += QStringLiteral(".YS\n");
    }
    return text;
}

QStringList verbs(const Command &command)
{
    QStringList result;
    for (const CommandForm &form : command.forms) {
        const Part part = read(form);
        const Part *verb = part.type == Part::Sequence && part.parts.size() > 1 ? &part.parts.at(1) : nullptr;
        if (!verb || verb->type != Part::Word || !onlyLiterals(*verb))
            return {};
        if (!result.contains(verb->word))
            result << verb->word;
    }
    return result;
}

QStringList faults(const Command &command)
{
    QStringList result;
    for (const CommandForm &form : command.forms) {
        bool good = false;
        const Part part = read(form, &good);
        if (!good) {
            result
                << QStringLiteral("%1: \"%2\" does not parse").arg(command.name, QLatin1String(form.pattern));
            continue;
        }
        QList<const Part *> words {&part};
        while (!words.isEmpty()) {
            const Part *next = words.takeLast();
            for (const Part &inner : next->parts)
                words.append(&inner);
            if (next->type == Part::Word && isOption(next->word) && !optionOf(command, next->word))
                result << QStringLiteral("%1: no option %2").arg(command.name, next->word);
        }
        const QString first = part.type == Part::Sequence && !part.parts.isEmpty()
            ? written(command, part.parts.first(), Style())
            : QString();
        if (first != command.name && first != QStringLiteral("[%1]").arg(command.name))
            result << QStringLiteral("%1: \"%2\" does not start with the command")
                          .arg(command.name, QLatin1String(form.pattern));
    }
    return result;
}

} // namespace CommandUsage
