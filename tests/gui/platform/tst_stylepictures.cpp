// The style's pictures read as PNGs look as the style's own, and reading
// them loads no image-format plugin.
#include "WindowSupport.h"
#include "gui/platform/StylePictures.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QtTest>

namespace {

// Whether an image-format plugin is mapped into this process.
bool imagePluginsLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

QImage drawn(const QIcon &icon, int size, QIcon::Mode mode)
{
    return icon.pixmap(QSize(size, size), 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Qt's icon of files knows a picture's real size only once it has read it,
// and picks among its pictures by the sizes it knows: the first drawing of
// the apply icon at 16 pixels takes its 16-pixel picture (15 wide), every
// later one the 32-pixel picture scaled down. The icon read whole draws as
// Qt's does from then on: compare with that, after every picture is read.
void settle(const QIcon &icon)
{
    for (int size : {16, 32, 128})
        icon.pixmap(QSize(size, size), 1.0);
}

} // namespace

class TestStylePictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::initWindows();
        QApplication::setStyle(QStringLiteral("Fusion"));
    }
    void cleanup() { QIcon::setThemeName(QString()); }

    // First, while nothing has read a picture yet: the group box's frame is
    // found in the cache (no plugin loads to draw it) and drawn as Qt reads it.
    void groupBoxFrameNeedsNoPlugin()
    {
        QVERIFY2(!imagePluginsLoaded(), "a plugin was loaded before the test");
        QVERIFY(StylePictures::preloadGroupBoxFrame(QApplication::style()));
        QGroupBox box(QStringLiteral("Setting"));
        box.resize(160, 90);
        const QImage preloaded = box.grab().toImage();
        QVERIFY2(!imagePluginsLoaded(), "drawing the group box loaded an image-format plugin");
        const QIcon icon = StylePictures::standard(QStyle::SP_DialogCloseButton, &box);
        QVERIFY(!drawn(icon, 16, QIcon::Normal).isNull());
        QVERIFY2(!imagePluginsLoaded(), "the icon loaded an image-format plugin");
        QPixmapCache::clear(); // Qt reads the frame itself
        QCOMPARE(box.grab().toImage(), preloaded);
    }

    void anotherStyleIsLeftAsItIs()
    {
        std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
        QVERIFY(windows);
        QVERIFY(!StylePictures::preloadGroupBoxFrame(windows.get()));
    }

    void iconsLookAsTheStyles_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("size");
        for (QStyle::StandardPixmap which :
            {QStyle::SP_FileDialogContentsView, QStyle::SP_DialogApplyButton, QStyle::SP_DialogCloseButton}) {
            for (int size : {15, 16, 24, 31, 32, 48, 64}) // at the edges of the pictures' areas
                QTest::addRow("icon %d at %d", int(which), size) << int(which) << size;
        }
        QTest::addRow("an icon not in the table") << int(QStyle::SP_TrashIcon) << 16;
    }

    void iconsLookAsTheStyles()
    {
        QFETCH(int, which);
        QFETCH(int, size);
        QWidget widget;
        const auto pixmap = QStyle::StandardPixmap(which);
        const QIcon ours = StylePictures::standard(pixmap, &widget);
        const QIcon styles = widget.style()->standardIcon(pixmap, nullptr, &widget);
        settle(styles);
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active})
            QCOMPARE(drawn(ours, size, mode), drawn(styles, size, mode));
    }

    // With an icon theme, the style takes the theme's icon where the theme
    // has it, and its own pictures where not.
    void themesAreAskedAsTheStyleAsks_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("themeIcon");
        QTest::addColumn<bool>("fromTheme");
        QTest::newRow("apply, in the theme") << int(QStyle::SP_DialogApplyButton) << "dialog-ok-apply" << true;
        QTest::newRow("close, in the theme") << int(QStyle::SP_DialogCloseButton) << "window-close" << true;
        QTest::newRow("apply, not in the theme") << int(QStyle::SP_DialogApplyButton) << "" << false;
        QTest::newRow("close, not in the theme") << int(QStyle::SP_DialogCloseButton) << "" << false;
        QTest::newRow("contents, never a theme's") << int(QStyle::SP_FileDialogContentsView) << "view-list-details" << false;
    }

    void themesAreAskedAsTheStyleAsks()
    {
        QFETCH(int, which);
        QFETCH(QString, themeIcon);
        QFETCH(bool, fromTheme);
        // A theme with another icon where the row's theme lacks it.
        const TestSupport::ScopedIconTheme theme(
            {QStringLiteral("actions/") + (themeIcon.isEmpty() ? QStringLiteral("edit-copy") : themeIcon)});
        QVERIFY(theme.isSet());
        QWidget widget;
        const auto pixmap = QStyle::StandardPixmap(which);
        const QIcon ours = StylePictures::standard(pixmap, &widget);
        const QIcon styles = widget.style()->standardIcon(pixmap, nullptr, &widget);
        QCOMPARE(styles.name().isEmpty(), !fromTheme); // what the style does, as the rows say
        QCOMPARE(ours.name(), styles.name());
        settle(styles);
        QCOMPARE(drawn(ours, 16, QIcon::Normal), drawn(styles, 16, QIcon::Normal));
        // For a first picture: the style's own pictures, the theme unasked.
        const QIcon builtIn = StylePictures::builtIn(pixmap, &widget);
        QVERIFY(builtIn.name().isEmpty());
        QCOMPARE(drawn(builtIn, 16, QIcon::Normal) == drawn(ours, 16, QIcon::Normal), !fromTheme);
    }
};

QTEST_MAIN(TestStylePictures)
#include "tst_stylepictures.moc"
