#include "platform/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#ifndef STICKER2_TRANSLATIONS_FROM_PROGRAM
#define STICKER2_TRANSLATIONS_FROM_PROGRAM "../share/sticker2/translations"
#endif

namespace {

// "de-DE" as the files name it: "de_DE".
QString fileTag(QString language)
{
    return language.replace(QLatin1Char('-'), QLatin1Char('_'));
}

bool isEnglish(const QString &tag)
{
    return tag.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0
        || tag.startsWith(QLatin1String("en_"), Qt::CaseInsensitive);
}

} // namespace

namespace Translations {

QStringList folders(const QString &programFolder)
{
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral(STICKER2_TRANSLATIONS_FROM_PROGRAM))),
        QDir::cleanPath(program.filePath(QStringLiteral("../translations")))};
}

QString fileFor(const QString &language, const QStringList &folders)
{
    if (language.isEmpty())
        return QString();
    const QString name = QStringLiteral("%1_%2.qm").arg(QLatin1String(BaseName), language);
    for (const QString &folder : folders) {
        const QFileInfo file(QDir(folder).filePath(name));
        if (file.isFile() && file.isReadable())
            return file.filePath();
    }
    return QString();
}

QString languageFor(const QStringList &uiLanguages, const QStringList &folders)
{
    for (const QString &language : uiLanguages) {
        QString tag = fileTag(language);
        if (isEnglish(tag))
            return QString();
        // "zh_Hant_TW", then "zh_Hant", then "zh".
        while (!tag.isEmpty()) {
            if (!fileFor(tag, folders).isEmpty())
                return tag;
            const int cut = tag.lastIndexOf(QLatin1Char('_'));
            tag = cut > 0 ? tag.left(cut) : QString();
        }
    }
    return QString();
}

QString install(QCoreApplication *app)
{
    const QStringList where = folders(QCoreApplication::applicationDirPath());
    const QString language = languageFor(QLocale::system().uiLanguages(), where);
    if (language.isEmpty())
        return QString();
    auto *own = new QTranslator(app);
    if (!own->load(fileFor(language, where))) {
        delete own;
        return QString();
    }
    QCoreApplication::installTranslator(own);
    // Qt's own texts (the buttons of standard dialogs) in the same language,
    // where Qt has them (Debian: qt6-translations-l10n).
    auto *qt = new QTranslator(app);
    if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return language;
}

} // namespace Translations
