#include "platform/SystemPaper.h"

#include <QByteArray>
#include <QFile>
#include <QSizeF>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <paper.h>

namespace SystemPaper {

namespace {

// The size libpaper gives a name, in points; false for an unknown name.
bool sizeOf(const QString &name, double *width, double *height = nullptr)
{
    paperinit();
    const struct paper *info = paperinfo(name.toLatin1().constData());
    if (info)
        *width = paperpswidth(info);
    if (info && height)
        *height = paperpsheight(info);
    paperdone();
    return info != nullptr;
}

// The locale's paper when the environment names a locale for it (the C
// locale has A4 too, but that is no one's choice).
QString localePaper()
{
    const char *locale = std::setlocale(LC_PAPER, nullptr);
    if (!locale || !std::strcmp(locale, "C") || !std::strcmp(locale, "POSIX")
        || !std::strncmp(locale, "C.", 2))
        return QString();
    // glibc gives the size in millimetres, the number in the pointer's place.
    const auto heightMm = int(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
    const auto widthMm = int(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
    if (widthMm == 216 && heightMm == 279)
        return QStringLiteral("letter");
    if (widthMm == 216 && heightMm == 356)
        return QStringLiteral("legal");
    if (widthMm == 210 && heightMm == 297)
        return QStringLiteral("a4");
    return QString();
}

// The paper a papersize file names: its first word outside comments.
QString firstWordOf(const char *path)
{
    QFile file(QFile::decodeName(path ? path : ""));
    if (!path || !file.open(QIODevice::ReadOnly))
        return QString();
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine(256)).section(QLatin1Char('#'), 0, 0).trimmed();
        if (!line.isEmpty())
            return line.section(QLatin1Char(' '), 0, 0).toLower();
    }
    return QString();
}

} // namespace

QString name()
{
    const QByteArray fromEnvironment = qgetenv("PAPERSIZE").trimmed().toLower();
    double width = 0;
    if (!fromEnvironment.isEmpty() && sizeOf(QString::fromLatin1(fromEnvironment), &width))
        return QString::fromLatin1(fromEnvironment);
    const QString fromLocale = localePaper();
    if (!fromLocale.isEmpty())
        return fromLocale;
    paperinit();
    // $PAPERCONF or /etc/papersize. libpaper would answer with $PAPERSIZE
    // even when it is empty or names no paper; the file is read here then.
    char *system = qEnvironmentVariableIsSet("PAPERSIZE") ? nullptr : systempapername();
    QString chosen = system ? QString::fromLatin1(system).trimmed().toLower() : firstWordOf(systempapersizefile());
    std::free(system);
    if (chosen.isEmpty() || !paperinfo(chosen.toLatin1().constData()))
        chosen = QString::fromLatin1(defaultpapername()).toLower();
    paperdone();
    return chosen;
}

QPageSize pageSize()
{
    double width = 0;
    double height = 0;
    if (!sizeOf(name(), &width, &height))
        return QPageSize(QPageSize::A4);
    return QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::FuzzyMatch);
}

bool isLetterWidth()
{
    double width = 0;
    return sizeOf(name(), &width) && qAbs(width - 612) < 1;
}

} // namespace SystemPaper
