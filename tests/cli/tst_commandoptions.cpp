// Each command's option table as the program uses it: every option is in the
// command's help, the overview, the manual and the completion; the parser
// takes every one; a bad value of each checked option is the one usage error.
#include "cli/CommandLine.h"
#include "cli/CommandUsage.h"
#include "TestSupport.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace {

using CommandLine::Command;
using CommandLine::CommandId;

using Run = TestSupport::ProgramRun;
using TestSupport::runProgram;

// The words before a command's options: rules takes its options after "test",
// and a watch takes convert's only when it converts.
QStringList lead(const Command &command, const CommandOption &option)
{
    if (command.id == CommandId::Rules)
        return { command.name, QStringLiteral("test") };
    if (command.id == CommandId::Watch && !option.names.contains(QLatin1String("convert")))
        return { command.name, QStringLiteral("."), QStringLiteral("--convert"), QStringLiteral("pdf") };
    return { command.name };
}

// A value the option's check takes.
QString goodValue(const CommandOption &option)
{
    if (!option.choices.isEmpty())
        return option.choices.first();
    if (option.kind == CommandOption::Kind::WholeNumber || option.kind == CommandOption::Kind::Number)
        return QString::number(option.low);
    return QStringLiteral("x");
}

// Values the option's check refuses, at its limits.
QStringList badValues(const CommandOption &option)
{
    using Kind = CommandOption::Kind;
    const bool bounded = option.high < std::numeric_limits<int>::max();
    QStringList values;
    if (option.kind == Kind::WholeNumber || option.kind == Kind::Number) {
        values << QStringLiteral("nan") << QStringLiteral("inf") << QStringLiteral("-inf") << QStringLiteral("ten")
               << QString::number(option.low - 1);
        // Past a bound too large for the help to name (the message names it then).
        values << (bounded ? QString::number(option.high + (option.kind == Kind::Number ? 0.5 : 1))
                           : QString::number(qint64(option.high) + 1));
        if (option.kind == Kind::WholeNumber)
            values << QString::number(option.low + 0.5);
    } else if (option.kind == Kind::Choice) {
        values << QStringLiteral("no-such-choice") << QString();
    } else if (option.accepts) { // a text with a check of its own (the pages, a delimiter)
        values << QStringLiteral("no-such-value");
    }
    return values;
}

// Every command line that bash completes here, and a word it must offer.
const char *const Completes = R"(
source "$1"; shift
COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
_sticker2
printf '%s\n' "${COMPREPLY[@]}"
)";

} // namespace

class TestCommandOptions : public QObject
{
    Q_OBJECT

private slots:
    void everyOptionIsListed_data();
    void everyOptionIsListed();
    void everyOptionIsTaken_data();
    void everyOptionIsTaken();
    void badValueIsAUsageError_data();
    void badValueIsAUsageError();
    void completion_data();
    void completion();
    void usageFromForms_data();
    void usageFromForms();
    void formFaults_data();
    void formFaults();
    void windowCommandsHelp_data();
    void windowCommandsHelp();
    void notUtf8_data();
    void notUtf8();
    void controlCharactersNotEchoed();
};

void TestCommandOptions::everyOptionIsListed_data()
{
    QTest::addColumn<int>("command");
    for (int i = 0; i < CommandLine::commands().size(); ++i)
        QTest::newRow(CommandLine::commands().at(i).name.data()) << i;
}

void TestCommandOptions::everyOptionIsListed()
{
    QFETCH(int, command);
    const Command &row = CommandLine::commands().at(command);
    const Run help = runProgram({ row.name, QStringLiteral("--help") });
    QCOMPARE(help.status, 0);
    QCOMPARE(help.err, QByteArray());
    const Run overview = runProgram({ QStringLiteral("--help") });
    const Run manual = runProgram({ QStringLiteral("--dump-options"), QStringLiteral("man") });
    const Run completion = runProgram({ QStringLiteral("--dump-options"), QStringLiteral("bash") });
    for (const CommandLine::CommandForm &form : row.forms) {
        const QByteArray brief = CommandUsage::brief(row, form).toUtf8();
        QVERIFY2(overview.out.contains("\n  " + brief + ' ') || overview.out.contains("\n  " + brief + '\n'), brief);
    }
    // An unknown option: the usage error with the command's usage line.
    const QStringList verb = row.id == CommandId::Rules ? QStringList { QStringLiteral("test") } : QStringList();
    const Run wrong = runProgram(QStringList { row.name } + verb + QStringList { QStringLiteral("--no-such-option") });
    QCOMPARE(wrong.status, 2);
    QVERIFY2(wrong.err.startsWith("sticker2: unknown option \"--no-such-option\"\nUsage: " + row.usage().toUtf8()
                 + '\n'),
        wrong.err.constData());
    QVERIFY(manual.out.contains(".SS \"sticker2 " + QByteArray(row.name.data()) + "\"\n"));
    for (const CommandOption &option : row.options) {
        // The usage line names each option the help lists, by one of its names.
        bool inUsage = option.hidden;
        for (const QString &name : option.names)
            inUsage = inUsage || row.usage().contains(QRegularExpression(QRegularExpression::escape(
                                     CommandOption::typed(name)) + QStringLiteral("[ =\\]|]")));
        QVERIFY2(inUsage, qPrintable(option.longName() + QStringLiteral(" is not in the usage line")));
        for (const QString &name : option.names) {
            const QByteArray typed = CommandOption::typed(name).toUtf8();
            if (option.hidden) {
                QVERIFY2(!help.out.contains(typed + ' '), typed);
                continue;
            }
            QVERIFY2(help.out.contains(typed), typed + " is not in " + row.name.data() + " --help");
            QVERIFY2(overview.out.contains(typed), typed + " is not in --help");
            QVERIFY2(manual.out.contains("\\fB" + QByteArray(typed).replace("-", "\\-") + "\\fR"), typed);
            QVERIFY2(completion.out.contains(' ' + typed + ' ') || completion.out.contains('"' + typed + ' '), typed);
        }
    }
}

void TestCommandOptions::everyOptionIsTaken_data()
{
    QTest::addColumn<QStringList>("arguments");
    for (const Command &command : CommandLine::commands()) {
        for (const CommandOption &option : command.options) {
            QStringList arguments = lead(command, option) << CommandOption::typed(option.names.constLast());
            if (option.takesValue())
                arguments << goodValue(option);
            QTest::addRow("%s %s", command.name.data(), qPrintable(option.longName())) << (arguments << "--help");
        }
    }
}

void TestCommandOptions::everyOptionIsTaken()
{
    QFETCH(QStringList, arguments);
    const Run run = runProgram(arguments);
    QVERIFY2(run.status == 0 && run.err.isEmpty(), run.err.constData());
    QVERIFY(run.out.startsWith("Usage: sticker2 ") || run.out.startsWith("  sticker2 rules"));
}

void TestCommandOptions::badValueIsAUsageError_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("synopsis");
    for (const Command &command : CommandLine::commands()) {
        for (const CommandOption &option : command.options) {
            for (const QString &value : badValues(option)) {
                const QStringList arguments = lead(command, option)
                    << CommandOption::typed(option.names.constFirst()) << value << QStringLiteral("in.prn");
                QTest::addRow("%s %s \"%s\"", command.name.data(), qPrintable(option.longName()), qPrintable(value))
                    << arguments << option.longName() << value << command.usage();
            }
        }
    }
}

void TestCommandOptions::badValueIsAUsageError()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, option);
    QFETCH(QString, value);
    QFETCH(QString, synopsis);
    const Run run = runProgram(arguments);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QByteArray());
    const QList<QByteArray> lines = run.err.split('\n');
    const qsizetype usageLines = synopsis.count(QLatin1Char('\n')) + 1;
    QCOMPARE(lines.size(), usageLines + 3); // the cause, the usage, the hint and the end of the last
    QVERIFY2(lines[0].startsWith("sticker2: " + option.toUtf8() + " takes ")
            && lines[0].endsWith(", not \"" + value.toUtf8() + '"'),
        lines[0].constData());
    if (value == "2147483648")
        QVERIFY2(lines[0].contains(", at most 2147483647, not"), lines[0].constData());
    QCOMPARE(QString::fromUtf8(lines.mid(1, usageLines).join('\n')), "Usage: " + synopsis);
    QVERIFY2(lines[usageLines + 1].startsWith("Try 'sticker2 " + arguments.first().toUtf8() + " --help'"),
        lines[usageLines + 1].constData());
}

void TestCommandOptions::completion_data()
{
    QTest::addColumn<QStringList>("words"); // as typed so far, the last one being completed
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("a command") << QStringList { "sticker2", "con" } << QStringList { "convert" };
    QTest::newRow("a command's options") << QStringList { "sticker2", "convert", "--l" }
                                         << QStringList { "--landscape", "--look" };
    QTest::newRow("a choice's words") << QStringList { "sticker2", "convert", "--to", "" }
                                      << QStringList { "html", "pdf", "png", "rtf", "txt", "xlsx" };
    QTest::newRow("a short name's value") << QStringList { "sticker2", "stickers", "--barcode", "q" }
                                          << QStringList { "qr" };
    QTest::newRow("the watch takes convert's") << QStringList { "sticker2", "watch", "d", "--convert", "pdf", "--pa" }
                                               << QStringList { "--pages", "--paper" };
    QTest::newRow("a verb") << QStringList { "sticker2", "capture", "" } << QStringList { "add", "remove" };
    QTest::newRow("rules' verbs") << QStringList { "sticker2", "rules", "" } << QStringList { "check", "test" };
    QTest::newRow("nothing for a number") << QStringList { "sticker2", "convert", "--dpi", "" } << QStringList {};
    QTest::newRow("the view's code pages") << QStringList { "sticker2", "--codepage", "cp8" }
                                           << QStringList { "cp850", "cp852", "cp866" };
}

void TestCommandOptions::completion()
{
    QFETCH(QStringList, words);
    QFETCH(QStringList, offered);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Run made = runProgram({ QStringLiteral("--dump-options"), QStringLiteral("bash") });
    QCOMPARE(made.status, 0);
    const QString file = TestSupport::writeFile(dir.filePath("sticker2"), made.out);
    QCOMPARE(QProcess::execute(QStringLiteral("bash"), { QStringLiteral("-n"), file }), 0);
    QProcess bash;
    bash.setWorkingDirectory(dir.path()); // the files offered are those of an empty folder
    bash.start(QStringLiteral("bash"), QStringList { QStringLiteral("-c"), QString::fromLatin1(Completes),
                                           QStringLiteral("bash"), file } + words);
    QVERIFY(bash.waitForFinished(30000));
    QCOMPARE(bash.readAllStandardError(), QByteArray());
    QStringList got = QString::fromUtf8(bash.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    got.sort();
    QCOMPARE(got, offered);
}

namespace {

// A command of the test's own, to read forms against.
Command madeCommand(const QList<CommandLine::CommandForm> &forms)
{
    return { CommandId::Convert, QLatin1String("make"), forms, "", { CommandOption::flag({ "all" }, "All."),
        CommandOption::text({ "o", "output" }, "FILE", "Where."),
        CommandOption::choice({ "look" }, "LOOK", { "a", "b" }, "Which."),
        CommandOption::flag({ "secret" }, "Hidden.").hiddenOne(), CommandOption::wholeNumber({ "n" }, "N", 1, 9, "How many.") },
        true, nullptr };
}

} // namespace

void TestCommandOptions::usageFromForms_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("usage");
    QTest::addColumn<QString>("brief");
    QTest::newRow("an option shows its value") << "make -o IN" << "sticker2 make -o FILE IN" << "sticker2 make -o FILE IN";
    QTest::newRow("choices in place of the value")
        << "make --look" << "sticker2 make --look a|b" << "sticker2 make --look a|b";
    QTest::newRow("optional, left out of the brief") << "make [-n] IN" << "sticker2 make [-n N] IN" << "sticker2 make IN";
    QTest::newRow("the others, in table order, none hidden")
        << "make --look [OPTIONS] IN" << "sticker2 make --look a|b [--all] [--output FILE] [-n N] IN"
        << "sticker2 make --look a|b IN";
    QTest::newRow("alternatives of words") << "make [--all|-n]" << "sticker2 make [--all | -n N]" << "sticker2 make";
    QTest::newRow("alternatives with spaces") << "make (-o|--all) IN"
                                              << "sticker2 make (-o FILE | --all) IN" << "sticker2 make (-o FILE | --all) IN";
    QTest::newRow("alternative sequences") << "make (-o OUT | --all IN) X|-"
                                           << "sticker2 make (-o FILE OUT | --all IN) X|-"
                                           << "sticker2 make (-o FILE OUT | --all IN) X|-";
    QTest::newRow("nested") << "make [--all [-n]] IN" << "sticker2 make [--all [-n N]] IN" << "sticker2 make IN";
    QTest::newRow("an optional word stays") << "[make] IN..." << "sticker2 [make] IN..." << "sticker2 [make] IN...";
}

void TestCommandOptions::usageFromForms()
{
    QFETCH(QString, pattern);
    QFETCH(QString, usage);
    QFETCH(QString, brief);
    const QByteArray text = pattern.toUtf8();
    const Command command = madeCommand({ { text.constData(), "" } });
    QCOMPARE(CommandUsage::faults(command), QStringList());
    QCOMPARE(command.usage(), usage);
    QCOMPARE(CommandUsage::brief(command, command.forms.first()), brief);
    // The manual shows the same words, each option's name in bold.
    QString manual = CommandUsage::manual(command);
    QVERIFY2(manual.startsWith(".SY sticker2\n") && manual.endsWith(".YS\n"), qPrintable(manual));
    manual.remove(QRegularExpression(QStringLiteral("\\\\f[BIR]")));
    manual.remove(QStringLiteral("\\&")).replace(QStringLiteral("\\-"), QStringLiteral("-")).replace(QStringLiteral("\\ "), QStringLiteral(" "));
    QCOMPARE(manual.mid(4).chopped(4).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified(), usage);
}

void TestCommandOptions::formFaults_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("fault");
    QTest::newRow("an option the table lacks") << "make [--none]" << "make: no option --none";
    QTest::newRow("an open bracket") << "make [--all" << "make: \"make [--all\" does not parse";
    QTest::newRow("an empty group") << "make () IN" << "make: \"make () IN\" does not parse";
    QTest::newRow("another command's name") << "convert IN" << "make: \"convert IN\" does not start with the command";
}

void TestCommandOptions::formFaults()
{
    QFETCH(QString, pattern);
    QFETCH(QString, fault);
    const QByteArray text = pattern.toUtf8();
    QCOMPARE(CommandUsage::faults(madeCommand({ { text.constData(), "" } })), QStringList { fault });
    // The program's own table has none.
    for (const Command &command : CommandLine::commands())
        QCOMPARE(CommandUsage::faults(command), QStringList());
}

void TestCommandOptions::windowCommandsHelp_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("usage");
    QTest::newRow("view") << QStringList { "view", "--help" } << QByteArray("Usage: sticker2 [view] [--codepage NAME] FILE...\n");
    QTest::newRow("view, after a file") << QStringList { "view", "a.prn", "-h" }
                                        << QByteArray("Usage: sticker2 [view] [--codepage NAME] FILE...\n");
    QTest::newRow("watch") << QStringList { "watch", "--help" }
                           << QByteArray("Usage: sticker2 watch FOLDER\n  or:  sticker2 watch FOLDER --convert ");
}

void TestCommandOptions::windowCommandsHelp()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, usage);
    const Run run = runProgram(arguments);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    QVERIFY2(run.out.startsWith(usage), run.out.constData());
}

// A name in Latin-1 (an older system's) is not UTF-8, as Qt reads a command
// line: a command refuses it, naming it as given, and writes nothing; the
// plain sheet, written before Qt is loaded, takes its bytes as they are.
// A file name holding an escape sequence is said with '?' for each control
// character: it had reached the terminal (or the journal) as it was.
void TestCommandOptions::controlCharactersNotEchoed()
{
    QTemporaryDir dir;
    const TestSupport::ProgramRun run
        = TestSupport::runProgram({"convert", dir.filePath("a\x1b[2J\x07" "b.prn"), dir.filePath("out.pdf")});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("a?[2J?b.prn"), run.err.constData());
    QVERIFY(!run.err.contains('\x1b') && !run.err.contains('\x07'));
}

void TestCommandOptions::notUtf8_data()
{
    QTest::addColumn<QByteArrayList>("arguments"); // {DIR}: the test's folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("file"); // written (status 0) or not
    QTest::newRow("convert of such a file") << QByteArrayList{"convert", "{DIR}/M\xfcller.prn", "{DIR}/out.txt"} << 2
                                            << QByteArray("out.txt");
    QTest::newRow("convert to such a name") << QByteArrayList{"convert", "{DIR}/in.prn", "{DIR}/M\xfcller.txt"} << 2
                                            << QByteArray("M\xfcller.txt");
    QTest::newRow("a title") << QByteArrayList{"convert", "--pdf-title", "Gr\xfc\xdf", "{DIR}/in.prn", "{DIR}/out.pdf"}
                             << 2 << QByteArray("out.pdf");
    QTest::newRow("print of such a file") << QByteArrayList{"print", "{DIR}/M\xfcller.prn"} << 2 << QByteArray();
    QTest::newRow("a sheet in a code page") << QByteArrayList{"stickers", "--slot", "0", "--codepage", "cp437", "-o",
                                                   "{DIR}/s\xe9.prn"}
                                            << 2 << QByteArray("s\xe9.prn");
    QTest::newRow("the plain sheet") << QByteArrayList{"stickers", "--slot", "0", "-o", "{DIR}/s\xe9.prn"} << 0
                                     << QByteArray("s\xe9.prn");
}

void TestCommandOptions::notUtf8()
{
    QFETCH(QByteArrayList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    TestSupport::writeFile(dir.filePath(QStringLiteral("in.prn")), "Invoice\r\n\f");
    // (QFile cannot make such a name, nor QTemporaryDir remove it.)
    const QByteArrayList rawNames{"M\xfcller.prn", "M\xfcller.txt", "s\xe9.prn"};
    const auto removeRaw = qScopeGuard([&] {
        for (const QByteArray &name : rawNames)
            ::unlink((folder + '/' + name).constData());
    });
    const int made = ::open((folder + '/' + rawNames.first()).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(made >= 0 && ::write(made, "Invoice\r\n\f", 10) == 10);
    ::close(made);
    QByteArray given;
    for (QByteArray &argument : arguments) {
        argument.replace("{DIR}", folder);
        if (argument.contains('\x80') || argument.contains('\xfc') || argument.contains('\xe9') || argument.contains('\xdf'))
            given = argument;
    }
    // The bytes go through the shell as they are (QProcess would encode
    // them): each argument from a file of its own.
    QByteArray script = "set --";
    for (int i = 0; i < arguments.size(); ++i) {
        const QString part = dir.filePath(QStringLiteral("arg%1").arg(i));
        TestSupport::writeFile(part, arguments.at(i));
        script += " \"$(cat '" + QFile::encodeName(part) + "')\"";
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QString::fromLatin1(script + "; exec \"$0\" \"$@\""), QStringLiteral(STICKER2_PROGRAM)});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QByteArray err = process.readAllStandardError();
    QVERIFY2(process.exitCode() == status, err.constData());
    if (status == 2) {
        QCOMPARE(err, "sticker2: " + given
                + ": not UTF-8 text, which the program reads its command line as; a file of this name is to be "
                  "renamed first (convmv -f latin1 -t utf-8 --notest NAME)\n");
    }
    if (!file.isEmpty())
        QCOMPARE(::access((folder + '/' + file).constData(), F_OK) == 0, status == 0);
}

QTEST_MAIN(TestCommandOptions)
#include "tst_commandoptions.moc"
