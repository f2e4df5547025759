#include "gui/report/Calculator.h"

#include <QObject>
#include <QProcess>
#include <QStandardPaths>

namespace Calculator {

QStringList candidates()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
        QStringLiteral("xcalc")};
}

QString find()
{
    for (const QString &name : candidates()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool start(QString *error)
{
    const QString program = find();
    if (program.isEmpty()) {
        *error = QObject::tr("No desktop calculator is installed.\nInstall one of: %1.")
                     .arg(candidates().join(QStringLiteral(", ")));
        return false;
    }
    if (!QProcess::startDetached(program, {})) {
        *error = QObject::tr("The calculator \"%1\" could not be started.").arg(program);
        return false;
    }
    return true;
}

} // namespace Calculator
