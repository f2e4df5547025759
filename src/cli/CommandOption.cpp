#include "cli/CommandOption.h"

#include <cmath>
#include <limits>

namespace {

CommandOption made(const QStringList &names, const QString &valueName, CommandOption::Kind kind, const QString &help)
{
    CommandOption option;
    option.names = names;
    option.valueName = valueName;
    option.kind = kind;
    option.help = help;
    return option;
}

// "a, b or c"
QString alternatives(const QStringList &words)
{
    if (words.size() < 2)
        return words.join(QString());
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + words.constLast();
}

QString numberText(double value)
{
    return QString::number(value, 'g', 12);
}

// Few enough choices to be shown in place of the value's name.
constexpr int ShownChoices = 6;

} // namespace

CommandOption CommandOption::flag(const QStringList &names, const QString &help)
{
    return made(names, QString(), Kind::Flag, help);
}

CommandOption CommandOption::text(const QStringList &names, const QString &valueName, const QString &help)
{
    return made(names, valueName, Kind::Text, help);
}

CommandOption CommandOption::file(const QStringList &names, const QString &valueName, const QString &help)
{
    return made(names, valueName, Kind::File, help);
}

CommandOption CommandOption::folder(const QStringList &names, const QString &valueName, const QString &help)
{
    return made(names, valueName, Kind::Folder, help);
}

CommandOption CommandOption::wholeNumber(
    const QStringList &names, const QString &valueName, double low, double high, const QString &help)
{
    CommandOption option = made(names, valueName, Kind::WholeNumber, help);
    option.low = low;
    option.high = high;
    return option;
}

CommandOption CommandOption::number(
    const QStringList &names, const QString &valueName, double low, double high, const QString &help)
{
    CommandOption option = made(names, valueName, Kind::Number, help);
    option.low = low;
    option.high = high;
    return option;
}

CommandOption CommandOption::choice(
    const QStringList &names, const QString &valueName, const QStringList &choices, const QString &help)
{
    CommandOption option = made(names, valueName, Kind::Choice, help);
    option.choices = choices;
    return option;
}

CommandOption CommandOption::withDefault(const QString &value) const
{
    CommandOption option = *this;
    option.defaultValue = value;
    return option;
}

CommandOption CommandOption::checkedBy(bool (*check)(const QString &), const QString &accepted) const
{
    CommandOption option = *this;
    option.accepts = check;
    option.takes = accepted;
    return option;
}

CommandOption CommandOption::hiddenOne() const
{
    CommandOption option = *this;
    option.hidden = true;
    return option;
}

QString CommandOption::typed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString CommandOption::namesText() const
{
    QStringList shown;
    for (const QString &name : names)
        shown << typed(name);
    return shown.join(QStringLiteral(", "));
}

QString CommandOption::valueText() const
{
    if (kind == Kind::Choice && !choices.isEmpty() && choices.size() <= ShownChoices)
        return choices.join(QLatin1Char('|'));
    return valueName;
}

QString CommandOption::acceptedText() const
{
    if (!takes.isEmpty())
        return takes;
    const bool unbounded = high >= double(std::numeric_limits<int>::max());
    switch (kind) {
    case Kind::WholeNumber:
        return unbounded ? QStringLiteral("a whole number of %1 or more").arg(numberText(low))
                         : QStringLiteral("a whole number from %1 to %2").arg(numberText(low), numberText(high));
    case Kind::Number:
        return unbounded ? QStringLiteral("a number of %1 or more").arg(numberText(low))
                         : QStringLiteral("a number from %1 to %2").arg(numberText(low), numberText(high));
    case Kind::Choice:
        return alternatives(choices);
    default:
        return QString();
    }
}

QString CommandOption::problem(const QString &value) const
{
    const QString given = value.trimmed();
    bool good = true;
    if (accepts) {
        good = accepts(value);
    } else if (kind == Kind::WholeNumber) {
        bool ok = false;
        const qlonglong whole = given.toLongLong(&ok);
        good = ok && double(whole) >= low && double(whole) <= high;
    } else if (kind == Kind::Number) {
        bool ok = false;
        const double number = given.toDouble(&ok);
        // NaN compares false with every bound; infinity is never in range.
        good = ok && std::isfinite(number) && number >= low && number <= high;
    } else if (kind == Kind::Choice) {
        good = false;
        for (const QString &word : choices)
            good = good || given.compare(word, Qt::CaseInsensitive) == 0;
    }
    if (good)
        return QString();
    // A bound too large to name in the help is named when it is passed.
    bool number = false;
    const double asNumber = given.toDouble(&number);
    const bool unbounded = high >= double(std::numeric_limits<int>::max());
    if (takes.isEmpty() && unbounded && number && asNumber > high
        && (kind == Kind::WholeNumber || kind == Kind::Number))
        return QStringLiteral("%1 takes %2, at most %3, not \"%4\"")
            .arg(longName(), acceptedText(), numberText(high), value);
    return QStringLiteral("%1 takes %2, not \"%3\"").arg(longName(), acceptedText(), value);
}

QCommandLineOption CommandOption::parserOption() const
{
    QCommandLineOption option(names, help, valueName.isEmpty() ? QString() : valueName, defaultValue);
    if (hidden)
        option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

const CommandOption *optionNamed(const CommandOptions &options, const QString &name)
{
    for (const CommandOption &option : options) {
        if (option.names.contains(name))
            return &option;
    }
    return nullptr;
}
