#include "WindowSupport.h"

#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QAbstractSpinBox>
#include <QStyle>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace TestSupport {

void initWindows()
{
    init();
    MessageBox::setTestMode(true);
    Dialogs::setTestMode(true);
}

QWidget *child(QWidget *parent, const QString &objectName)
{
    auto *w = parent->findChild<QWidget *>(objectName);
    if (!w)
        qFatal("no control named %s", qPrintable(objectName));
    return w;
}

void click(QWidget *parent, const QString &objectName)
{
    QWidget *w = child(parent, objectName);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(qMin(8, w->width() / 2), w->height() / 2));
}

QString state(QWidget *root, const QString &names)
{
    QStringList out;
    for (const QString &key : names.split(' ', Qt::SkipEmptyParts)) {
        QWidget *w = child(root, key.section('.', 0, 0));
        const QString p = key.section('.', 1);
        auto *button = qobject_cast<QAbstractButton *>(w);
        auto *box = qobject_cast<QLineEdit *>(w) ? qobject_cast<QLineEdit *>(w) : w->findChild<QLineEdit *>();
        if (p == "enabled" || p == "visible" || p == "hidden" || p == "bold" || p == "focus")
            out << QString::number(p == "enabled" ? w->isEnabled()
                    : p == "visible"              ? w->isVisible()
                    : p == "hidden"               ? w->isHidden()
                    : p == "bold"                 ? w->font().bold()
                                                  : w->hasFocus());
        else if (p == "base")
            out << w->palette().color(QPalette::Base).name();
        else if (button)
            out << (button->isCheckable() ? QString::number(button->isChecked()) : button->text());
        else if (auto *label = qobject_cast<QLabel *>(w))
            out << label->text();
        else if (auto *list = qobject_cast<QComboBox *>(w))
            out << list->currentText();
        else if (auto *bar = qobject_cast<QScrollBar *>(w))
            out << QString::number(bar->value());
        else
            out << (box ? box->text() : QStringLiteral("?"));
    }
    return out.join('|');
}

int previewPageCount(const std::function<void()> &open)
{
    int pages = -1;
    QTimer watch; // until the preview is up
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        watch.stop();
        pages = dialog->findChild<QPrintPreviewWidget *>()->pageCount();
        dialog->reject();
    });
    watch.start();
    open();
    return pages;
}

QStringList unnamedControls(QWidget *window, bool shownOnly, int *controls)
{
    QStringList unnamed;
    *controls = 0;
    QAccessibleInterface *top = QAccessible::queryAccessibleInterface(window);
    if (!top)
        return { QStringLiteral("<no accessibility tree>") };
    std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface *child = node->child(i);
            if (!child)
                continue;
            auto *widget = qobject_cast<QWidget *>(child->object());
            // A drop-down's list and edit box are parts of it: it is named.
            bool partOfDropDown = false;
            for (QWidget *up = widget ? widget->parentWidget() : nullptr; up; up = up->parentWidget())
                partOfDropDown = partOfDropDown || qobject_cast<QComboBox *>(up);
            if (widget && (!shownOnly || widget->isVisible()) && !partOfDropDown
                && (widget->focusPolicy() & Qt::TabFocus)) {
                ++*controls;
                if (child->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed << widget->objectName() + '/' + widget->metaObject()->className() + '/'
                            + (widget->parentWidget() ? widget->parentWidget()->objectName() : QString());
            }
            walk(child);
        }
    };
    walk(top);
    return unnamed;
}

QString testLanguage()
{
    return qEnvironmentVariable("LANGUAGE", QStringLiteral("en")).section(QLatin1Char(':'), 0, 0).left(2);
}

QString inLanguage(const QString &en, const QString &de, const QString &cs)
{
    const QString language = testLanguage();
    return language == QLatin1String("de") ? de : language == QLatin1String("cs") ? cs : en;
}

void addCaptionColumns()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("en");
    QTest::addColumn<QString>("de");
    QTest::addColumn<QString>("cs");
}

QString rowCaption()
{
    QFETCH(QString, en);
    QFETCH(QString, de);
    QFETCH(QString, cs);
    return inLanguage(en, de, cs);
}

} // namespace TestSupport

double TestSupport::contrast(QWidget *w)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    QColor text;
    QColor back;
    if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractScrollArea *>(w)) {
        text = w->palette().color(QPalette::Text);
        back = w->palette().color(QPalette::Base);
    } else {
        text = w->palette().color(w->foregroundRole());
        QWidget *filled = w;
        while (!filled->autoFillBackground() && !filled->isWindow() && filled->parentWidget())
            filled = filled->parentWidget();
        back = filled->palette().color(filled->backgroundRole());
    }
    const double a = luminance(text) + 0.05;
    const double b = luminance(back) + 0.05;
    return qMax(a, b) / qMin(a, b);
}

QStringList TestSupport::overlappingOrCut(QWidget *root)
{
    // The controls a user sees: the parts of a composite control (a
    // drop-down's edit box) go with it.
    QList<QWidget *> controls;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (w->isWindow() || !w->isVisibleTo(root) || qobject_cast<QComboBox *>(w->parentWidget()))
            continue;
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w) || qobject_cast<QLineEdit *>(w)
            || qobject_cast<QComboBox *>(w) || qobject_cast<QScrollBar *>(w) || qobject_cast<QGroupBox *>(w)
            || w->inherits("SpLebal"))
            controls.append(w);
    }
    const auto name = [](const QWidget *w) {
        return w->objectName().isEmpty()
            ? QString::fromLatin1(w->metaObject()->className()) + '"' + w->property("text").toString() + '"'
            : w->objectName();
    };
    const auto area = [root](const QWidget *w) { return QRect(w->mapTo(root, QPoint(0, 0)), w->size()); };
    QStringList faults;
    for (int i = 0; i < controls.size(); ++i) {
        QWidget *a = controls.at(i);
        if (!root->contentsRect().contains(area(a)))
            faults << name(a) + " out of " + name(root);
        const QSize least = a->minimumSizeHint();
        if (a->minimumWidth() != a->maximumWidth()
            && (a->width() < least.width() || a->height() < least.height()))
            faults << QStringLiteral("%1<%2x%3").arg(name(a)).arg(least.width()).arg(least.height());
        for (int j = i + 1; j < controls.size(); ++j) {
            QWidget *b = controls.at(j);
            if (!a->isAncestorOf(b) && !b->isAncestorOf(a) && area(a).intersects(area(b)))
                faults << name(a) + '/' + name(b);
        }
    }
    return faults + clippedCaptions(root);
}

QStringList TestSupport::clippedCaptions(QWidget *root)
{
    QStringList clipped;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(w);
        const bool box = qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w);
        if (!(qobject_cast<QAbstractButton *>(w) || (label && !label->text().isEmpty() && !label->wordWrap()))
            || w->minimumWidth() == w->maximumWidth() || !w->isVisibleTo(root))
            continue;
        const QFont kept = w->font();
        QFont bold = kept;
        bold.setBold(box); // a box's caption turns bold when chosen
        w->setFont(bold);
        // A push button draws its caption centred with a few pixels to spare.
        auto *button = qobject_cast<QAbstractButton *>(w);
        int needed = button && !box ? w->fontMetrics().horizontalAdvance(button->text().remove('&')) + 6
                                    : w->sizeHint().width();
        if (button && !box && !button->icon().isNull() && !button->text().isEmpty())
            needed += button->iconSize().width() + 4; // the icon stands beside the caption
        if (w->width() < needed)
            clipped.append(w->objectName() + ':' + w->metaObject()->className());
        // A label's text shows only up to a box or button laid over it (one
        // made after it, on the same parent, stacks above it). A panel that
        // opens over the window is meant to cover what lies under it.
        if (label && w->parentWidget()) {
            const int textWidth = qMin(w->width(), w->sizeHint().width());
            const Qt::Alignment align = QStyle::visualAlignment(w->layoutDirection(), label->alignment());
            const int left = align & Qt::AlignRight ? w->width() - textWidth
                : align & Qt::AlignHCenter          ? (w->width() - textWidth) / 2
                                                    : 0;
            const QRect text(w->mapToParent(QPoint(left, 0)), QSize(textWidth, w->height()));
            const QObjectList siblings = w->parentWidget()->children();
            for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i) {
                auto *over = qobject_cast<QWidget *>(siblings.at(i));
                const bool control = qobject_cast<QLineEdit *>(over) || qobject_cast<QAbstractSpinBox *>(over)
                    || qobject_cast<QComboBox *>(over) || qobject_cast<QAbstractButton *>(over);
                if (control && !over->isWindow() && over->isVisibleTo(root) && over->geometry().intersects(text))
                    clipped.append(w->objectName() + ':' + w->metaObject()->className() + '/' + over->objectName());
            }
        }
        w->setFont(kept);
    }
    return clipped;
}

TestSupport::ScopedIconTheme::ScopedIconTheme(const QStringList &icons)
    : m_searchPaths(QIcon::themeSearchPaths())
    , m_themeName(QIcon::themeName())
{
    const QDir root(m_folder.path());
    QStringList contexts;
    for (const QString &icon : icons) {
        const QString context = icon.section(QLatin1Char('/'), 0, 0);
        if (!contexts.contains(context))
            contexts << context;
    }
    QString index = QStringLiteral("[Icon Theme]\nName=probe\nDirectories=");
    if (!contexts.isEmpty())
        index += QStringLiteral("16x16/") + contexts.join(QStringLiteral(",16x16/"));
    index += QLatin1Char('\n');
    for (const QString &context : contexts)
        index += QStringLiteral("[16x16/%1]\nSize=16\nType=Fixed\n").arg(context);
    writeFile(root.filePath(QStringLiteral("probe/index.theme")), index.toUtf8());
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    for (const QString &icon : icons) {
        const QString context = icon.section(QLatin1Char('/'), 0, 0);
        const QString dir = root.filePath(QStringLiteral("probe/16x16/") + context);
        const QString file = dir + QLatin1Char('/') + icon.section(QLatin1Char('/'), 1) + ".png";
        if (!QDir().mkpath(dir) || !red.save(file, "PNG"))
            return;
    }
    QIcon::setThemeSearchPaths({m_folder.path()});
    QIcon::setThemeName(QStringLiteral("probe"));
    m_set = true;
}

TestSupport::ScopedIconTheme::~ScopedIconTheme()
{
    QIcon::setThemeSearchPaths(m_searchPaths);
    QIcon::setThemeName(m_themeName);
}
