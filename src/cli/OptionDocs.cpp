#include "cli/OptionDocs.h"

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/CommandUsage.h"

#include <QRegularExpression>

#include <cstdio>

namespace OptionDocs {

namespace {

constexpr int OptionColumn = 6;
constexpr int HelpColumn = 32;
constexpr int LineWidth = 92;

// The words of `text` in lines of at most `width` characters (a longer word
// stands alone), each after `indent` spaces.
QString wrapped(const QString &text, int indent, int width)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString result;
    QString line;
    for (const QString &word : words) {
        if (!line.isEmpty() && indent + line.size() + 1 + word.size() > width) {
            result += QString(indent, QLatin1Char(' ')) + line + QLatin1Char('\n');
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        result += QString(indent, QLatin1Char(' ')) + line + QLatin1Char('\n');
    return result;
}

QString shown(const CommandOption &option)
{
    return option.takesValue() ? option.namesText() + QLatin1Char(' ') + option.valueText() : option.namesText();
}

// roff: backslashes and minus signs escaped, a line never starting with a
// control character.
QString roff(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\e")).replace(QLatin1Char('-'), QLatin1String("\\-"));
    return escaped;
}

QString roffLines(const QString &text)
{
    // A sentence to a line, as roff wants its sources.
    QString lines = roff(text);
    lines.replace(QRegularExpression(QStringLiteral("\\. +(?=[A-Z0-9])")), QStringLiteral(".\n"));
    QStringList kept;
    for (QString line : lines.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('.')) || line.startsWith(QLatin1Char('\'')))
            line.prepend(QLatin1String("\\&"));
        kept << line;
    }
    return kept.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString manualTag(const CommandOption &option)
{
    QStringList names;
    for (const QString &name : option.names)
        names << QStringLiteral("\\fB%1\\fR").arg(roff(CommandOption::typed(name)));
    QString tag = names.join(QStringLiteral(", "));
    if (!option.takesValue())
        return tag;
    if (option.valueText() != option.valueName) {
        QStringList choices;
        for (const QString &choice : option.choices)
            choices << QStringLiteral("\\fB%1\\fR").arg(roff(choice));
        return tag + QLatin1Char(' ') + choices.join(QLatin1Char('|'));
    }
    return tag + QStringLiteral(" \\fI%1\\fR").arg(roff(option.valueName));
}

// A command's options as the completion offers them: its own, and for the
// watch convert's too (its conversions take them).
CommandOptions completedOptions(const CommandLine::Command &command)
{
    CommandOptions options;
    CommandOptions all = command.options;
    if (command.id == CommandLine::CommandId::Watch)
        all += CommandLine::watchTakesOfConvert();
    for (const CommandOption &option : all) {
        if (!option.hidden && !optionNamed(options, option.names.constLast()))
            options.append(option);
    }
    return options;
}

QString typedNames(const CommandOptions &options, bool (*which)(const CommandOption &))
{
    QStringList names;
    for (const CommandOption &option : options) {
        if (which(option)) {
            for (const QString &name : option.names)
                names << CommandOption::typed(name);
        }
    }
    return names.join(QLatin1Char('|'));
}

QString commandCompletion(const CommandLine::Command &command)
{
    using Kind = CommandOption::Kind;
    const CommandOptions options = completedOptions(command);
    QString text = QStringLiteral("    %1)\n        case $prev in\n").arg(command.name);
    for (const CommandOption &option : options) {
        if (option.kind != Kind::Choice)
            continue;
        text += QStringLiteral("            %1) _sticker2_words \"%2\"; return ;;\n")
                    .arg(typedNames({ option }, [](const CommandOption &) { return true; }),
                        option.choices.join(QLatin1Char(' ')));
    }
    const QString folders = typedNames(options, [](const CommandOption &o) { return o.kind == Kind::Folder; });
    if (!folders.isEmpty())
        text += QStringLiteral("            %1) _sticker2_files -d; return ;;\n").arg(folders);
    const QString files = typedNames(options, [](const CommandOption &o) { return o.kind == Kind::File; });
    if (!files.isEmpty())
        text += QStringLiteral("            %1) _sticker2_files -f; return ;;\n").arg(files);
    const QString others = typedNames(options, [](const CommandOption &o) {
        return o.kind == Kind::Text || o.kind == Kind::Number || o.kind == Kind::WholeNumber;
    });
    if (!others.isEmpty())
        text += QStringLiteral("            %1) return ;;\n").arg(others);
    QStringList all;
    for (const CommandOption &option : options) {
        for (const QString &name : option.names)
            all << CommandOption::typed(name);
    }
    text += QStringLiteral("        esac\n        options=\"%1 --help\"\n").arg(all.join(QLatin1Char(' ')));
    const QStringList verbs = CommandUsage::verbs(command);
    if (!verbs.isEmpty())
        text += QStringLiteral("        verbs=\"%1\"\n").arg(verbs.join(QLatin1Char(' ')));
    return text + QStringLiteral("        ;;\n");
}

const char *const CompletionHead = R"(# bash completion for sticker2                            -*- shell-script -*-
# Made by `sticker2 --dump-options bash` from the program's option tables
# (src/cli/OptionTables.cpp, src/cli/CommandTable.cpp) when the program is built.

_sticker2_words()
{
    mapfile -t COMPREPLY < <(compgen -W "$1" -- "$cur")
}

_sticker2_files()
{
    mapfile -t COMPREPLY < <(compgen "$1" -- "$cur")
}

_sticker2()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command=${COMP_WORDS[1]} options= verbs=
    if ((COMP_CWORD == 1)); then
        _sticker2_words "%1 --help --version"
        [[ $cur == -* ]] || COMPREPLY+=($(compgen -f -- "$cur"))
        return
    fi
    case $command in
%2    *)
        command=view
    esac
    if [[ $command == view ]]; then
        case $prev in
            --codepage) _sticker2_words "%3"; return ;;
        esac
        options="--codepage --help"
    fi
    if [[ $cur == -* ]]; then
        _sticker2_words "$options"
    elif [[ -n $verbs ]] && ((COMP_CWORD == 2)); then
        _sticker2_words "$verbs"
    else
        _sticker2_files -f
    fi
}
complete -o filenames -o bashdefault -F _sticker2 sticker2
)";

} // namespace

QString overviewForm(const QString &form, const QString &summary)
{
    constexpr int FormColumn = 2;
    constexpr int SummaryColumn = 30;
    const QString head = QString(FormColumn, QLatin1Char(' ')) + form;
    const QString text = wrapped(summary, SummaryColumn, LineWidth);
    if (head.size() + 2 > SummaryColumn)
        return head + QLatin1Char('\n') + text;
    return head.leftJustified(SummaryColumn) + text.mid(SummaryColumn);
}

QString overviewLines(const CommandOptions &options)
{
    QString text;
    for (const CommandOption &option : options) {
        if (option.hidden)
            continue;
        const QString head = QString(OptionColumn, QLatin1Char(' ')) + shown(option);
        const QString help = wrapped(option.help, HelpColumn, LineWidth);
        if (head.size() + 2 > HelpColumn)
            text += head + QLatin1Char('\n') + help;
        else
            text += head.leftJustified(HelpColumn) + help.mid(HelpColumn);
    }
    return text;
}

QString manualSynopsis()
{
    QString text = QStringLiteral(".SH SYNOPSIS\n.SY sticker2\n.YS\n");
    for (const CommandLine::Command &command : CommandLine::commands())
        text += CommandUsage::manual(command);
    return text;
}

QString manualOptions()
{
    QString text = QStringLiteral(".SH OPTIONS\n");
    for (const CommandLine::Command &command : CommandLine::commands()) {
        text += QStringLiteral(".SS \"sticker2 %1\"\n").arg(command.name);
        for (const CommandOption &option : command.options) {
            if (option.hidden)
                continue;
            text += QStringLiteral(".TP\n") + manualTag(option) + QLatin1Char('\n') + roffLines(option.help);
        }
    }
    return text;
}

QString bashCompletion()
{
    QStringList names;
    QString cases;
    for (const CommandLine::Command &command : CommandLine::commands()) {
        names << command.name;
        if (command.id != CommandLine::CommandId::View)
            cases += commandCompletion(command);
    }
    const CommandOption *codePage
        = optionNamed(CommandLine::command(CommandLine::CommandId::View).options, QStringLiteral("codepage"));
    return QString::fromLatin1(CompletionHead)
        .arg(names.join(QLatin1Char(' ')), cases, codePage ? codePage->choices.join(QLatin1Char(' ')) : QString());
}

int dump(const QString &what)
{
    QString text;
    if (what == QLatin1String("synopsis"))
        text = manualSynopsis();
    else if (what == QLatin1String("man"))
        text = manualOptions();
    else if (what == QLatin1String("bash"))
        text = bashCompletion();
    else
        return CliSupport::usage(QStringLiteral("sticker2 --dump-options synopsis|man|bash"),
            QStringLiteral("--dump-options takes synopsis, man or bash, not \"%1\"").arg(what));
    std::fputs(text.toUtf8().constData(), stdout);
    return int(CommandLine::Status::Done);
}

} // namespace OptionDocs
