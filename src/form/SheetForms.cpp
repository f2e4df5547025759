#include "form/SheetForms.h"

#include <QVector>

bool SheetForms::load(const FormChoice &choice, SheetForms *forms, QString *error)
{
    SheetForms loaded;
    loaded.m_offsetMillimetres = choice.offsetMillimetres;
    if (!choice.first.isEmpty() && !(loaded.m_first = FormPage::load(choice.first, error)))
        return false;
    if (!choice.next.isEmpty()) {
        if (choice.next == choice.first)
            loaded.m_next = loaded.m_first;
        else if (!(loaded.m_next = FormPage::load(choice.next, error)))
            return false;
    }
    *forms = loaded;
    return true;
}

