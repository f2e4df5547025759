#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

// One option of a command, written once: its names, its value, its help and
// the check of its value. The command's parser, `COMMAND --help`, the
// overview of `sticker2 --help`, the manual page's option list and the bash
// completion are all made from the commands' lists of these.
struct CommandOption
{
    enum class Kind {
        Flag,        // no value
        Text,        // any text
        File,        // a file's path (completion offers files)
        Folder,      // a folder's path (completion offers folders)
        WholeNumber, // a whole number from low to high
        Number,      // a finite number from low to high (NaN and infinity refused)
        Choice,      // one of the choices, in any case
    };

    QStringList names;  // the short name first: "d", "printer"
    QString valueName;  // how help shows the value: "FORMAT", "N"; empty for a flag
    QString help;       // one or more sentences
    Kind kind = Kind::Flag;
    double low = 0;     // the range of a number
    double high = 0;
    QStringList choices;        // a choice's words, as help and completion offer them
    QString defaultValue;       // what the parser gives when it is not set
    bool hidden = false;        // for the program's own use: in no help and no completion
    bool (*accepts)(const QString &value) = nullptr; // a check of its own, in place of the kind's
    QString takes;              // what that check accepts, for its message

    // The table's rows are made with these.
    static CommandOption flag(const QStringList &names, const QString &help);
    static CommandOption text(const QStringList &names, const QString &valueName, const QString &help);
    static CommandOption file(const QStringList &names, const QString &valueName, const QString &help);
    static CommandOption folder(const QStringList &names, const QString &valueName, const QString &help);
    static CommandOption wholeNumber(
        const QStringList &names, const QString &valueName, double low, double high, const QString &help);
    static CommandOption number(
        const QStringList &names, const QString &valueName, double low, double high, const QString &help);
    static CommandOption choice(
        const QStringList &names, const QString &valueName, const QStringList &choices, const QString &help);
    CommandOption withDefault(const QString &value) const;
    CommandOption checkedBy(bool (*check)(const QString &), const QString &accepted) const;
    CommandOption hiddenOne() const;

    bool takesValue() const { return kind != Kind::Flag; }
    // "--to", "-d": the name as typed.
    static QString typed(const QString &name);
    QString longName() const { return typed(names.constLast()); }
    // The names as help shows them: "-d, --printer".
    QString namesText() const;
    // The value as the overview and the manual show it: the choices ("a4|letter")
    // when they are few, else the value's name.
    QString valueText() const;
    // What the check accepts, as its message says it: "10, 12 or 17",
    // "a whole number from 0 to 7".
    QString acceptedText() const;
    // The usage error for a value the check refuses, or nothing when it is
    // good: `--dpi takes a whole number from 10 to 600, not "5000"`.
    QString problem(const QString &value) const;

    QCommandLineOption parserOption() const;
};

using CommandOptions = QList<CommandOption>;

// The option of a list that one of its names names, or null.
const CommandOption *optionNamed(const CommandOptions &options, const QString &name);
