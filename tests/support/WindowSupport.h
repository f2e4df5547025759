#pragma once

#include "TestSupport.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>

// Shared set-up for the tests of the windows: call
// TestSupport::initWindows() in initTestCase().
namespace TestSupport {

// As init(), and puts the message boxes and dialogs in test mode.
void initWindows();

// Finds a child by objectName (of the kind asked for) or fails the test.
QWidget *child(QWidget *parent, const QString &objectName);
template <typename T = QWidget> T *control(QWidget *parent, const QString &objectName)
{
    auto *w = qobject_cast<T *>(child(parent, objectName));
    if (!w)
        qFatal("%s is not of that kind", qPrintable(objectName));
    return w;
}
// Clicks near the left edge, where a check or option box has its box and a
// button its face.
void click(QWidget *parent, const QString &objectName);

// On the live accessibility tree under `window`: the controls a user can
// reach by Tab (only those on screen when `shownOnly`) that have no name,
// each as objectName/class/parent's objectName; `controls` counts them all.
// A drop-down's list and edit box are parts of it and not counted.
QStringList unnamedControls(QWidget *window, bool shownOnly, int *controls);

// The names of the buttons and labels under `root` whose caption does not
// show whole in bold (the weight a chosen caption takes).
QStringList clippedCaptions(QWidget *root);
// The controls under `root` that do not show whole: two visible controls
// (neither inside the other) that overlap ("A/B"), a control reaching out of
// `root`, or one smaller than its least size ("A<least").
QStringList overlappingOrCut(QWidget *root);
// The contrast ratio (1 to 21) between a control's text and what it stands
// on: a text box's text and base, any other's foreground and the background
// of the nearest of it and its parents that fills its own.
double contrast(QWidget *w);
// The states of a window's controls by objectName, joined by "|": "Name" is
// a box's, label's, button's or list's text, a check's 1/0 or a scroll bar's
// value; "Name.enabled", ".visible", ".hidden", ".bold", ".focus" are 1/0
// and ".base" the box colour.
QString state(QWidget *root, const QString &names);

// Runs `open`, which should open a print preview, and gives the preview's
// page count (-1 when none opened); the preview is closed.
int previewPageCount(const std::function<void()> &open);

// An icon theme with a red 16-pixel square for each icon named
// ("actions/document-print", "apps/..."), in a temporary folder of its own,
// and the application's theme while it lives; the theme before it is set
// back when it goes.
class ScopedIconTheme
{
public:
    explicit ScopedIconTheme(const QStringList &icons);
    ~ScopedIconTheme();
    ScopedIconTheme(const ScopedIconTheme &) = delete;
    ScopedIconTheme &operator=(const ScopedIconTheme &) = delete;
    bool isSet() const { return m_set; }

private:
    QTemporaryDir m_folder;
    QStringList m_searchPaths;
    QString m_themeName;
    bool m_set = false;
};

// The language a translated-window test was started in, as LANGUAGE names
// it ("de", "cs"; "en" when none).
QString testLanguage();
// The English text, or its German or Czech translation in the test's language.
QString inLanguage(const QString &en, const QString &de, const QString &cs);
// A table of captions: a control's name ("control") and its text in English,
// German and Czech ("en", "de", "cs"); rowCaption() is the current row's in
// the test's language.
void addCaptionColumns();
QString rowCaption();

} // namespace TestSupport
