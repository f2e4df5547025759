#include "TestSupport.h"

#include "platform/AppPaths.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"
#include "platform/ProcessSignals.h"
#include "startup/MainModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWidget>

namespace TestSupport {

void init()
{
    ignoreFileSizeSignal();
    MessageBox::setTestMode(true);
    Dialogs::setTestMode(true);
    OpenViewCount = 0;
    SettingsAppName = QStringLiteral("Sticker2");
    PrintFileName.clear();
    LastTempNumber.clear();
    fillControlSequences();
    AppPaths::ensureProgramFolder();
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QWidget *child(QWidget *parent, const QString &objectName)
{
    auto *w = parent->findChild<QWidget *>(objectName);
    if (!w)
        qFatal("no control named %s", qPrintable(objectName));
    return w;
}

} // namespace TestSupport
