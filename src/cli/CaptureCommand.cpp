// sticker2 capture add|remove: the CUPS queues that keep each job as a file.

#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "printing/CaptureQueue.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace CommandLine {

int runCapture(const QStringList &arguments)
{
    const Command &capture = command(CommandId::Capture);
    const QString Synopsis = capture.usage();
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("add|remove"), QStringLiteral("What to do."));
    const int parsed = CliSupport::parse(parser, arguments, capture, -1);
    if (parsed >= 0)
        return parsed;
    const QString name = QStringLiteral("name");
    const QString folder = QStringLiteral("folder");
    const QString shared = QStringLiteral("shared");
    const QStringList positional = parser.positionalArguments().mid(1);
    const QString action = positional.value(0);
    QString error;
    if (action == QLatin1String("add")) {
        if (positional.size() != 1)
            return CliSupport::usage(
                Synopsis, QStringLiteral("capture add takes no arguments besides its options"));
        CaptureQueue::Options options;
        options.name = parser.value(name);
        options.shared = parser.isSet(shared);
        const QFileInfo dir(parser.value(folder));
        options.folder = dir.absoluteFilePath();
        if (!dir.isDir())
            return CliSupport::fail(QStringLiteral("%1: %2").arg(options.folder,
                dir.exists() ? QStringLiteral("not a folder") : QStringLiteral("no such folder")));
        if (!CaptureQueue::add(options, &error))
            return CliSupport::fail(error);
        return int(Status::Done);
    }
    if (action == QLatin1String("remove")) {
        if (positional.size() != 2 || parser.isSet(folder) || parser.isSet(shared) || parser.isSet(name))
            return CliSupport::usage(
                Synopsis, QStringLiteral("capture remove takes one QUEUE and no options"));
        if (!CaptureQueue::remove(positional.at(1), &error))
            return CliSupport::fail(error);
        return int(Status::Done);
    }
    return CliSupport::usage(Synopsis,
        action.isEmpty() ? QStringLiteral("capture needs add or remove")
                         : QStringLiteral("unknown capture action \"%1\"").arg(action));
}

} // namespace CommandLine
