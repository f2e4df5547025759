#include "cli/CliSupport.h"

#include "platform/ControlCharacters.h"
#include "platform/FileChecks.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace CliSupport {

namespace {

void printLine(FILE *stream, const QString &text)
{
    QString line = text.trimmed();
    // The lines of a message (a converter's, a server's) are said as one.
    line.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\n'), QLatin1String("; "));
    // A name or a job's text that holds control characters (an escape
    // sequence) reaches no terminal or journal as it is: each is a '?'.
    for (QChar &c : line) {
        if (ControlCharacters::is(c) && c != QLatin1Char('\t'))
            c = QLatin1Char('?');
    }
    std::fprintf(stream, "sticker2: %s\n", line.toLocal8Bit().constData());
    std::fflush(stream);
}

} // namespace

namespace {

void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "sticker2: %s\n", qPrintable(message));
        std::abort();
    }
}

} // namespace

void quietToolkitMessages()
{
    qInstallMessageHandler(quietMessages);
}

void report(const QString &text)
{
    printLine(stderr, text);
}

void startFailure(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtFatalMsg)
        return; // the fatal message that follows says it all
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString line = display.isEmpty()
        ? message.section(QLatin1Char('\n'), 0, 0)
        : QStringLiteral("the display \"%1\" cannot be reached").arg(display);
    std::fprintf(stderr, "sticker2: cannot open a window: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(int(CommandLine::Status::Failed));
}

int fail(const QString &text)
{
    printLine(stderr, text);
    return int(CommandLine::Status::Failed);
}

int finishStandardOutput(int status)
{
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    // (The cause of a write that failed before the last one is gone; a
    // write of nothing still finds a descriptor that takes no writes.)
    int cause = errno;
    if (cause == 0 && ::write(STDOUT_FILENO, "", 0) < 0)
        cause = errno;
    report(QStringLiteral("standard output: %1")
               .arg(cause != 0 ? QString::fromLocal8Bit(std::strerror(cause))
                               : QStringLiteral("not all of it could be written")));
    return status == int(CommandLine::Status::Done) ? int(CommandLine::Status::Failed) : status;
}

int refuseNonUtf8(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (QByteArrayView(argv[i]).isValidUtf8())
            continue;
        // (The bytes as they were given: the terminal shows them as ls does.)
        std::fprintf(stderr,
            "sticker2: %s: not UTF-8 text, which the program reads its command line as; "
            "a file of this name is to be renamed first (convmv -f latin1 -t utf-8 --notest NAME)\n",
            argv[i]);
        std::fflush(stderr);
        return int(CommandLine::Status::Usage);
    }
    return -1;
}

int usage(const QString &synopsis, const QString &text)
{
    printLine(stderr, text);
    // The hint names the command's own help: "sticker2 [view] ..." is view's.
    QString command = synopsis.section(QLatin1Char(' '), 1, 1).remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    if (command.isEmpty() || command.startsWith(QLatin1Char('-')))
        command.clear();
    else
        command.append(QLatin1Char(' '));
    std::fprintf(stderr, "Usage: %s\nTry 'sticker2 %s--help' for more information.\n",
        synopsis.toLocal8Bit().constData(), command.toLocal8Bit().constData());
    return int(CommandLine::Status::Usage);
}

int parse(QCommandLineParser &parser, const QStringList &arguments, const QString &synopsis,
    const CommandOptions &options, int positionalCount, const QString &description)
{
    parser.setApplicationDescription(description);
    for (const CommandOption &option : options)
        parser.addOption(option.parserOption());
    const QCommandLineOption helpOption = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        QString problem = parser.errorText(); // "Missing value after '--to'."
        if (!unknown.isEmpty())
            problem = QStringLiteral("unknown option \"%1\"").arg(CommandOption::typed(unknown.first()));
        else if (!problem.isEmpty())
            problem = problem.left(1).toLower() + problem.mid(1).chopped(problem.endsWith(QLatin1Char('.')) ? 1 : 0);
        return usage(synopsis, problem);
    }
    if (parser.isSet(helpOption)) {
        // The parser's own text after its usage line: description and options.
        const QString text = parser.helpText().section(QLatin1Char('\n'), 1);
        std::printf("Usage: %s\n%s", synopsis.toLocal8Bit().constData(), text.toLocal8Bit().constData());
        return int(CommandLine::Status::Done);
    }
    for (const CommandOption &option : options) {
        if (!option.takesValue() || !parser.isSet(option.names.constLast()))
            continue; // (a default is the program's own, not the user's)
        for (const QString &value : parser.values(option.names.constLast())) {
            const QString problem = option.problem(value);
            if (!problem.isEmpty())
                return usage(synopsis, problem);
        }
    }
    return positionalCount >= 0 ? checkPositionals(parser, synopsis, positionalCount) : -1;
}

int parse(QCommandLineParser &parser, const QStringList &arguments, const CommandLine::Command &command,
    int positionalCount)
{
    return parse(parser, arguments, command.usage(), command.options, positionalCount,
        QString::fromUtf8(command.description));
}

QStringList givenOptions(const QCommandLineParser &parser, const QStringList &leftOut)
{
    QStringList options;
    QStringList seen;
    for (const QString &name : parser.optionNames()) {
        if (leftOut.contains(name) || seen.contains(name))
            continue;
        seen.append(name);
        const QString flag = CommandOption::typed(name);
        const QStringList values = parser.values(name);
        if (values.isEmpty())
            options.append(flag);
        for (const QString &value : values)
            options << flag << value;
    }
    return options;
}

int checkPositionals(const QCommandLineParser &parser, const QString &synopsis, int count)
{
    const int given = int(parser.positionalArguments().size()) - 1; // the subcommand's own name first
    if (given == count)
        return -1;
    return usage(synopsis,
        given < count ? QStringLiteral("missing arguments")
                      : QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().at(count + 1)));
}

bool checkInput(const QString &path, QString *error)
{
    const QFileInfo info(path);
    struct stat st;
    if (!info.exists()) // the kernel's cause: no such file, a name too long, a folder we may not enter
        *error = QStringLiteral("%1: %2")
                     .arg(path, ::stat(QFile::encodeName(path).constData(), &st) != 0 && errno != ENOENT
                             ? QString::fromLocal8Bit(std::strerror(errno))
                             : QStringLiteral("No such file or directory"));
    else if (const QString problem = FileChecks::inputProblem(path); !problem.isEmpty())
        *error = QStringLiteral("%1: %2").arg(path, problem);
    else if (!info.isReadable())
        *error = QStringLiteral("%1: Permission denied").arg(path);
    else
        return true;
    return false;
}

QString asClause(const QString &sentence)
{
    QString clause = sentence.endsWith(QLatin1Char('.')) ? sentence.chopped(1) : sentence;
    if (!clause.isEmpty())
        clause[0] = clause[0].toLower();
    return clause;
}

bool checkStandardOutput(QString *error, const QStringList &inputs)
{
    struct stat out;
    if (::fstat(STDOUT_FILENO, &out) != 0 || !S_ISREG(out.st_mode))
        return true;
    for (const QString &input : inputs) {
        struct stat in;
        if (!input.isEmpty() && ::stat(QFile::encodeName(input).constData(), &in) == 0 && in.st_dev == out.st_dev
            && in.st_ino == out.st_ino) {
            *error = QStringLiteral("standard output is the input %1; refusing to write over it").arg(input);
            return false;
        }
    }
    return true;
}

bool checkOutput(const QString &path, QString *error, const QStringList &inputs)
{
    *error = FileChecks::outputRefusal(path, inputs);
    return error->isEmpty();
}

} // namespace CliSupport
