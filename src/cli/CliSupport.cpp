#include "cli/CliSupport.h"

#include "platform/FileChecks.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace CliSupport {

namespace {

void printLine(FILE *stream, const QString &text)
{
    QString line = text.trimmed();
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
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

int usage(const QString &synopsis, const QString &text)
{
    printLine(stderr, text);
    std::fprintf(stderr, "Usage: %s\nTry 'sticker2 --help' for more information.\n",
        synopsis.toLocal8Bit().constData());
    return int(CommandLine::Status::Usage);
}

int parse(QCommandLineParser &parser, const QStringList &arguments, const QString &synopsis,
    int positionalCount)
{
    const QCommandLineOption helpOption = parser.addHelpOption();
    if (!parser.parse(arguments))
        return usage(synopsis, parser.errorText());
    if (parser.isSet(helpOption)) {
        // The parser's own text after its usage line: description and options.
        const QString text = parser.helpText().section(QLatin1Char('\n'), 1);
        std::printf("Usage: %s\n%s", synopsis.toLocal8Bit().constData(), text.toLocal8Bit().constData());
        return int(CommandLine::Status::Done);
    }
    return positionalCount >= 0 ? checkPositionals(parser, synopsis, positionalCount) : -1;
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

QCommandLineOption codePageOption()
{
    return QCommandLineOption(QStringLiteral("codepage"),
        QStringLiteral("The code page the print file is read in: %1, or auto (guessed from its bytes).")
            .arg(CodePage::names()),
        QStringLiteral("name"));
}

std::optional<CodePage::Choice> codePageNamed(const QString &name, QString *error)
{
    const std::optional<CodePage::Choice> choice = CodePage::choiceFromName(name);
    if (!choice && error) {
        *error = QStringLiteral("unknown code page \"%1\" (the names are %2, auto)").arg(name, CodePage::names());
    }
    return choice;
}

QCommandLineOption printerModelOption()
{
    return QCommandLineOption(QStringLiteral("printer"),
        QStringLiteral("The printer the file was written for, as the printed look reads it: auto (default: "
                       "the setting; the file's commands tell), 9-pin, 24-pin or escp2."),
        QStringLiteral("model"));
}

std::optional<PrinterModel> printerModelNamed(const QString &name, QString *error)
{
    const std::optional<PrinterModel> model = PrinterModels::fromName(name.trimmed());
    if (!model && error)
        *error = QStringLiteral("unknown printer \"%1\" for --printer (auto, 9-pin, 24-pin or escp2)").arg(name);
    return model;
}

CodePage::Id resolveCodePage(const CodePage::Choice &choice, const QString &path)
{
    if (!choice.automatic)
        return choice.id;
    QFile file(path);
    QByteArray head;
    if (file.open(QIODevice::ReadOnly))
        head = file.read(4 * 1024 * 1024);
    return choice.resolve(head);
}

bool checkInput(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists())
        *error = QStringLiteral("%1: No such file or directory").arg(path);
    else if (!info.isFile())
        *error = QStringLiteral("%1: not a regular file").arg(path);
    else if (!info.isReadable())
        *error = QStringLiteral("%1: Permission denied").arg(path);
    else
        return true;
    return false;
}

bool checkOutput(const QString &path, QString *error, const QStringList &inputs)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *error = QStringLiteral("%1: not a regular file; refusing to write over it").arg(path);
        return false;
    }
    for (const QString &input : inputs) {
        if (FileChecks::sameFile(input, path)) {
            *error = QStringLiteral("%1: it is the input %2; refusing to write over it").arg(path, input);
            return false;
        }
    }
    return true;
}

} // namespace CliSupport
