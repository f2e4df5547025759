#include "form/SheetForms.h"

#include <QVector>

bool SheetForms::load(const FormChoice &choice, SheetForms *forms, QString *error)
{
    QStringList errors;
    const SheetForms loaded = loadUsable(choice, &errors);
    if (!errors.isEmpty()) {
        *error = errors.first();
        return false;
    }
    *forms = loaded;
    return true;
}

SheetForms SheetForms::loadUsable(const FormChoice &choice, QStringList *errors)
{
    SheetForms loaded;
    loaded.m_offsetMillimetres = choice.offsetMillimetres;
    QString error;
    if (!choice.first.isEmpty() && !(loaded.m_first = FormPage::load(choice.first, &error)))
        errors->append(error);
    if (!choice.next.isEmpty()) {
        if (choice.next == choice.first)
            loaded.m_next = loaded.m_first; // read once, and said once
        else if (!(loaded.m_next = FormPage::load(choice.next, &error)))
            errors->append(error);
    }
    return loaded;
}

