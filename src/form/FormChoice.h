#pragma once

#include <QPointF>
#include <QString>

#include <functional>

// Which forms lie under the printed look's sheets: a form (a page of a PDF
// file, or a PNG or JPEG image) under the first sheet of a job and one under
// every sheet after it, either of them none (an empty path), moved by an
// offset in millimetres (right and down) to line it up with the text.
struct FormChoice
{
    QString first;
    QString next;
    QPointF offsetMillimetres;

    bool isEmpty() const { return first.isEmpty() && next.isEmpty(); }
    bool operator==(const FormChoice &o) const
    {
        return first == o.first && next == o.next && offsetMillimetres == o.offsetMillimetres;
    }
    bool operator!=(const FormChoice &o) const { return !(*this == o); }

    // The farthest a form may be moved, in millimetres either way.
    static constexpr double LargestOffset = 1000.0;

    // "FIRST[,NEXT]": the form of the first sheet, then the one of the
    // sheets after it; either may be empty (",next.pdf" puts a form under
    // the later sheets only, "first.pdf," under the first only). FIRST alone
    // lies under every sheet. The text is split at its last comma.
    static FormChoice fromFormsText(const QString &text);
    // The same for names that may hold commas ("Briefkopf, farbig.pdf"):
    // the whole text when `exists` takes it as one form, else the first cut
    // at a comma where `exists` takes each side that is not empty; at the
    // last comma when none is.
    static FormChoice fromFormsText(const QString &text, const std::function<bool(const QString &)> &exists);

    // "X,Y" in millimetres (a dot for decimals); false, with the cause,
    // when it is not two finite numbers within LargestOffset.
    static bool offsetFromText(const QString &text, QPointF *millimetres, QString *error);
};
