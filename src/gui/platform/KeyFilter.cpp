#include "gui/platform/KeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

KeyFilter::KeyFilter(QLineEdit *box, Filter filter)
    : QObject(box)
    , m_filter(std::move(filter))
{ }

KeyFilter *KeyFilter::install(QLineEdit *box, Filter filter)
{
    auto *f = new KeyFilter(box, std::move(filter));
    box->installEventFilter(f);
    return f;
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    int code;
    if (key->key() == Qt::Key_Backspace)
        code = 8;
    else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        code = 13;
    else if (!key->text().isEmpty() && key->text().at(0).unicode() >= 32
        && key->text().at(0).unicode() != 127) // Delete sends DEL on X11
        code = key->text().at(0).unicode();
    else
        return false;
    const int result = m_filter(code);
    if (result == code)
        return false;
    if (result == 1)
        return true;
    // A changed character: type the new one in place of the old.
    if (m_replaying)
        return false;
    m_replaying = true;
    QKeyEvent replaced(QEvent::KeyPress, 0, key->modifiers(), QString(QChar(result)));
    QCoreApplication::sendEvent(watched, &replaced);
    m_replaying = false;
    return true;
}

int IntegerKeyFilter(int keyCode)
{
    if (keyCode == 45 || (keyCode >= 48 && keyCode <= 57) || keyCode == 8 || keyCode == 13)
        return keyCode;
    return 1;
}

int DecimalKeyFilter(int keyCode, const QString &boxText)
{
    if (keyCode == 45 || keyCode == 8 || keyCode == 13)
        return keyCode;
    if (keyCode == 46)
        return boxText.contains(QLatin1Char('.')) ? 1 : keyCode;
    if (keyCode >= 48 && keyCode <= 57)
        return keyCode;
    return 1;
}
