#pragma once

#include "gui/platform/UnsavedSettings.h"
#include <QByteArrayView>
#include "gui/report/QuietBar.h"

class QLabel;
class QPushButton;

// A quiet bar over the foot of a report view's page, as the code page's:
// it says that the file holds pictures or positioned text that the emphasis
// look cannot show, and offers the printed look. The answer (the switch, or
// closing the bar) is remembered for files of the same kind, which are then
// shown printed at once or not offered it again.
class PrintedLookBar : public QuietBar
{
    Q_OBJECT

public:
    explicit PrintedLookBar(QWidget *parent = nullptr);

    // Whether a file of this name and these bytes is to be shown printed at
    // once: the user chose so for its kind, and it needs the printed look.
    static bool showsPrinted(const QString &fileName, QByteArrayView bytes);
    // Shows the bar when the file needs the printed look, it is not shown so
    // and the user has not answered for its kind; hides it otherwise.
    void offerFor(const QString &fileName, QByteArrayView bytes, bool printedShown);

signals:
    // The user took the printed look (remembered for the kind already).
    void printedChosen();

private:
    void answer(bool printed);

    QPushButton *m_switch = nullptr;
    QString m_kind;
    UnsavedSettings m_unsaved;
};
