#pragma once

#include "WindowSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// Drives the sticker form's controls the way a user does, by objectName.
namespace FormDriver {

using TestSupport::click;
using TestSupport::control;

// The edit box of a field: the field itself, or the one inside a text box with list.
inline QLineEdit *edit(QWidget *form, const QString &name)
{
    QWidget *w = TestSupport::child(form, name);
    auto *line = qobject_cast<QLineEdit *>(w);
    return line ? line : w->findChild<QLineEdit *>();
}

// Replaces a field's text by typing, as a user selects all and types.
inline void type(QWidget *form, const QString &name, const QString &text)
{
    QLineEdit *box = edit(form, name);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

inline void fill(QWidget *form, const QList<QPair<QString, QString>> &fields)
{
    for (const auto &[name, value] : fields)
        type(form, name, value);
}

inline QString text(QWidget *form, const QString &name)
{
    return TestSupport::state(form, name);
}

inline void choose(QWidget *form, const QString &comboName, const QString &item)
{
    auto *combo = control<QComboBox>(form, comboName);
    combo->setCurrentIndex(combo->findText(item));
    emit combo->activated(combo->currentIndex());
}

} // namespace FormDriver
