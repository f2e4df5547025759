#include "gui/platform/UnsavedSettings.h"

#include "gui/platform/MessageBox.h"
#include "platform/SettingsStore.h"

#include <QDir>

void UnsavedSettings::tell(QWidget *parent, bool saved)
{
    if (saved || m_told)
        return;
    m_told = true;
    MessageBox::show(parent,
        QObject::tr("The settings file %1 cannot be saved.")
            .arg(QDir::toNativeSeparators(SettingsStore::fileName(SettingsAppName))),
        QString(), QMessageBox::Warning);
}
