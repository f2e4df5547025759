#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

// Drives the sticker form's controls the way a user does, by objectName.
namespace FormDriver {

template <typename T> T *control(QWidget *form, const QString &name)
{
    auto *w = form->findChild<T *>(name);
    if (!w)
        qFatal("no control %s of that kind", qPrintable(name));
    return w;
}

// The edit box of a field: the field itself, or the edit box inside a text
// box with list.
inline QLineEdit *edit(QWidget *form, const QString &name)
{
    QWidget *w = control<QWidget>(form, name);
    if (auto *line = qobject_cast<QLineEdit *>(w))
        return line;
    auto *inner = w->findChild<QLineEdit *>();
    if (!inner)
        qFatal("%s has no edit box", qPrintable(name));
    return inner;
}

// Replaces the field's text by typing, as a user selects all and types.
inline void type(QWidget *form, const QString &name, const QString &text)
{
    QLineEdit *box = edit(form, name);
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

inline QString text(QWidget *form, const QString &name)
{
    QWidget *w = control<QWidget>(form, name);
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    return edit(form, name)->text();
}

// Types each field in turn, as a user fills the form.
inline void fill(QWidget *form, const QList<QPair<QString, QString>> &fields)
{
    for (const auto &[name, value] : fields)
        type(form, name, value);
}

// The texts of several controls, for one comparison.
inline QStringList texts(QWidget *form, const QStringList &names)
{
    QStringList out;
    for (const QString &name : names)
        out << text(form, name);
    return out;
}

inline void choose(QWidget *form, const QString &comboName, const QString &item)
{
    auto *combo = control<QComboBox>(form, comboName);
    const int index = combo->findText(item);
    if (index < 0)
        qFatal("%s has no item %s", qPrintable(comboName), qPrintable(item));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

inline void click(QWidget *form, const QString &name)
{
    QWidget *w = control<QWidget>(form, name);
    // Check boxes and option buttons react on their indicator, at the left.
    const bool indicator = w->inherits("QCheckBox") || w->inherits("QRadioButton");
    const QPoint at = indicator ? QPoint(qMin(6, w->width() / 2), w->height() / 2) : w->rect().center();
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
}

} // namespace FormDriver
