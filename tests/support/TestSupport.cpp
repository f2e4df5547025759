#include "TestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QLabel>

#include "platform/AppPaths.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"
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

QStringList TestSupport::clippedCaptions(QWidget *root)
{
    QStringList clipped;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(w);
        const bool box = qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w);
        if (!(qobject_cast<QAbstractButton *>(w) || (label && !label->text().isEmpty() && !label->wordWrap()))
            || w->minimumWidth() == w->maximumWidth() || !w->isVisibleTo(root))
            continue;
        const QFont kept = w->font();
        QFont bold = kept;
        bold.setBold(box); // a box's caption turns bold when chosen
        w->setFont(bold);
        // A push button draws its caption centred with a few pixels to spare.
        auto *button = qobject_cast<QAbstractButton *>(w);
        const int needed = button && !box ? w->fontMetrics().horizontalAdvance(button->text().remove('&')) + 6
                                          : w->sizeHint().width();
        if (w->width() < needed)
            clipped.append(w->objectName() + ':' + w->metaObject()->className());
        w->setFont(kept);
    }
    return clipped;
}
