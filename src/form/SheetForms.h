#pragma once

#include "form/FormChoice.h"
#include "form/FormPage.h"

#include <QPointF>
#include <QStringList>
#include <QVector>

#include <memory>

// The forms a job's sheets lie on, read and checked: the first sheet's, the
// later sheets', and how far they are moved. Copies share the forms read.
class SheetForms
{
public:
    // Reads the chosen forms (a path named twice is read once); false with
    // an error that names the form's file and says why when one cannot be
    // used. An empty choice gives no forms.
    static bool load(const FormChoice &choice, SheetForms *forms, QString *error);
    // The chosen forms that can be used: one that cannot is left out and
    // its error added to `errors`, and the other stays (a view keeps
    // showing the later sheets' form when the first sheet's is gone).
    static SheetForms loadUsable(const FormChoice &choice, QStringList *errors);

    bool isEmpty() const { return !m_first && !m_next; }
    // The form under sheet `index` of the job (0 the first), or none.
    const FormPage *forSheet(int index) const { return index == 0 ? m_first.get() : m_next.get(); }
    // The forms, each once (the first sheet's first).
    // (Inline: the library module's underlay reads forms too.)
    QVector<const FormPage *> distinct() const
    {
        QVector<const FormPage *> forms;
        for (const FormPage *form : {m_first.get(), m_next.get()}) {
            if (form && !forms.contains(form))
                forms.append(form);
        }
        return forms;
    }
    // The offset, right and down, in points (1/72 in).
    QPointF offsetPoints() const { return m_offsetMillimetres * (72.0 / 25.4); }
    QPointF offsetMillimetres() const { return m_offsetMillimetres; }

private:
    std::shared_ptr<const FormPage> m_first;
    std::shared_ptr<const FormPage> m_next;
    QPointF m_offsetMillimetres;
};
