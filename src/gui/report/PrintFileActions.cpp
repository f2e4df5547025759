#include "gui/report/PrintFileActions.h"

#include "gui/platform/Dialogs.h"
#include "gui/report/OpenReportView.h"
#include "platform/SettingsStore.h"
#include "report/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

namespace PrintFileActions {

const QString Filter = QStringLiteral("Print files (*.prn *.PRN *.esc)|*.prn *.PRN *.esc|All files (*)|*");

namespace {

const QString TextEntry = QStringLiteral(" Txt File(*.txt)|*.txt");
const QString PrintEntry = QStringLiteral("Print files (*.prn *.PRN *.esc)|*.prn *.PRN *.esc");
const QString AllEntry = QStringLiteral("All files (*)|*");
const QString ImportKey = QStringLiteral("ImportFilter");

} // namespace

QString importFilter()
{
    const QString last = SettingsStore::read(SettingsAppName, QStringLiteral("ReportView"), ImportKey, QString());
    if (last == QLatin1String("print"))
        return PrintEntry + QLatin1Char('|') + TextEntry + QLatin1Char('|') + AllEntry;
    if (last == QLatin1String("all"))
        return AllEntry + QLatin1Char('|') + TextEntry + QLatin1Char('|') + PrintEntry;
    return TextEntry + QLatin1Char('|') + Filter;
}

void rememberImportFilter(const QString &chosenName)
{
    const QString suffix = QFileInfo(chosenName).suffix().toLower();
    const QString kind = suffix == QLatin1String("txt") ? QStringLiteral("text")
        : suffix == QLatin1String("prn") || suffix == QLatin1String("esc") ? QStringLiteral("print")
                                                                           : QStringLiteral("all");
    SettingsStore::save(SettingsAppName, QStringLiteral("ReportView"), ImportKey, kind);
}

void openWithDialog(QWidget *parent)
{
    const QStringList recent = RecentFiles::read();
    const QString start = recent.isEmpty() ? QString() : QFileInfo(recent.first()).absolutePath();
    const QString name = Dialogs::openFileName(parent, QStringLiteral("Open Print File"), Filter, start);
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
    auto *openAction = new QAction(QStringLiteral("Open Print File..."), window);
    openAction->setObjectName(QStringLiteral("ActOpenPrintFile"));
    openAction->setShortcut(QKeySequence::Open);
    openAction->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(openAction, &QAction::triggered, window, [window] { openWithDialog(window); });
    window->addAction(openAction);

    auto *menu = new QMenu(QStringLiteral("Recent Files"), window);
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
            menu->addAction(QStringLiteral("(none yet)"))->setEnabled(false);
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
