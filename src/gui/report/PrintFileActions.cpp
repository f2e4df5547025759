#include "gui/report/PrintFileActions.h"

#include "gui/platform/Dialogs.h"
#include "gui/report/OpenReportView.h"
#include "platform/SettingsStore.h"
#include "report/RecentFiles.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

namespace PrintFileActions {

namespace {

// The dialogs' entries: a label in the user's language, then the patterns.
QString textEntry()
{
    return QCoreApplication::translate("PrintFileActions", " Txt File(*.txt)") + QStringLiteral("|*.txt");
}

QString printEntry()
{
    return QCoreApplication::translate("PrintFileActions", "Print files (*.prn *.PRN *.esc)")
        + QStringLiteral("|*.prn *.PRN *.esc");
}

QString allEntry()
{
    return QCoreApplication::translate("PrintFileActions", "All files (*)") + QStringLiteral("|*");
}

const QString ImportKey = QStringLiteral("ImportFilter");

// The kind a stored value names: the stored word, or the kind whose
// patterns an entry's text (the English one a setting may hold) lists.
QString importKindOf(const QString &stored)
{
    const QString value = stored.trimmed();
    for (const char *kind : {"text", "print", "all"}) {
        if (value.compare(QLatin1String(kind), Qt::CaseInsensitive) == 0)
            return QLatin1String(kind);
    }
    if (value.contains(QLatin1String("*.prn"), Qt::CaseInsensitive)
        || value.contains(QLatin1String("*.esc"), Qt::CaseInsensitive))
        return QStringLiteral("print");
    if (value.contains(QLatin1String("*.txt"), Qt::CaseInsensitive))
        return QStringLiteral("text");
    if (value.contains(QLatin1String("(*)")) || value == QLatin1String("*"))
        return QStringLiteral("all");
    return QStringLiteral("text");
}

} // namespace

QString filter()
{
    return printEntry() + QLatin1Char('|') + allEntry();
}

QString importFilter()
{
    const QString last = importKindOf(
        SettingsStore::read(SettingsAppName, QStringLiteral("ReportView"), ImportKey, QString()));
    if (last == QLatin1String("print"))
        return printEntry() + QLatin1Char('|') + textEntry() + QLatin1Char('|') + allEntry();
    if (last == QLatin1String("all"))
        return allEntry() + QLatin1Char('|') + textEntry() + QLatin1Char('|') + printEntry();
    return textEntry() + QLatin1Char('|') + filter();
}

bool rememberImportFilter(const QString &chosenName)
{
    const QString suffix = QFileInfo(chosenName).suffix().toLower();
    const QString kind = suffix == QLatin1String("txt") ? QStringLiteral("text")
        : suffix == QLatin1String("prn") || suffix == QLatin1String("esc") ? QStringLiteral("print")
                                                                           : QStringLiteral("all");
    return SettingsStore::save(SettingsAppName, QStringLiteral("ReportView"), ImportKey, kind);
}

void openWithDialog(QWidget *parent)
{
    const QStringList recent = RecentFiles::read();
    const QString start = recent.isEmpty() ? QString() : QFileInfo(recent.first()).absolutePath();
    const QString name = Dialogs::openFileName(
        parent, QCoreApplication::translate("PrintFileActions", "Open Print File"), filter(), start);
    if (!name.isEmpty())
        open(name);
}

bool open(const QString &path)
{
    // The file joins the recent files as it opens, or leaves them when it
    // is gone.
    return openReportViews({path}) > 0;
}

void addTo(QWidget *window)
{
    auto *openAction
        = new QAction(QCoreApplication::translate("PrintFileActions", "Open Print File..."), window);
    openAction->setObjectName(QStringLiteral("ActOpenPrintFile"));
    openAction->setShortcut(QKeySequence::Open);
    openAction->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(openAction, &QAction::triggered, window, [window] { openWithDialog(window); });
    window->addAction(openAction);

    auto *menu = new QMenu(QCoreApplication::translate("PrintFileActions", "Recent Files"), window);
    menu->setObjectName(QStringLiteral("MenuRecentFiles"));
    QAction *recentAction = menu->menuAction();
    recentAction->setObjectName(QStringLiteral("ActRecentFiles"));
    recentAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_R));
    recentAction->setShortcutContext(Qt::WindowShortcut);
    // Read when shown: another window may have opened a file since.
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
        menu->clear();
        const QStringList files = RecentFiles::read();
        for (int i = 0; i < files.size(); ++i) {
            const QString file = files.at(i);
            QAction *entry = menu->addAction(QStringLiteral("&%1  %2").arg((i + 1) % 10).arg(QDir::toNativeSeparators(file)));
            QObject::connect(entry, &QAction::triggered, menu, [file] { open(file); });
        }
        if (files.isEmpty())
            menu->addAction(QCoreApplication::translate("PrintFileActions", "(none yet)"))->setEnabled(false);
    });
    QObject::connect(recentAction, &QAction::triggered, window, [window, menu] {
        // The key shows the list where the window is.
        menu->popup(window->mapToGlobal(QPoint(window->width() / 3, window->height() / 3)));
    });
    window->addAction(recentAction);
}

void addTo(QWidget *window, QMenu *menu)
{
    addTo(window);
    menu->addSeparator();
    for (const char *name : {"ActOpenPrintFile", "ActRecentFiles"})
        menu->addAction(window->findChild<QAction *>(QLatin1String(name)));
}

} // namespace PrintFileActions
