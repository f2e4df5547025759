#include "gui/platform/StylePictures.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPixmap>
#include <QPainter>
#include <QPixmapCache>
#include <QWidget>

#include <memory>
#include <optional>

namespace StylePictures {

namespace {

const QString CommonStyleImages = QStringLiteral(":/qt-project.org/styles/commonstyle/images/");

// The common style's pictures of these icons: the base of the file names,
// each at 16, 32 and 128 pixels, and the name the style asks an icon theme
// for first (none: the style never asks one).
struct StandardPicture
{
    const char *baseName;
    const char *themeName;
};

std::optional<StandardPicture> pictureOf(QStyle::StandardPixmap which)
{
    switch (which) {
    case QStyle::SP_FileDialogContentsView:
        return StandardPicture{"filecontents", nullptr};
    case QStyle::SP_DialogApplyButton:
        return StandardPicture{"standardbutton-apply", "dialog-ok-apply"};
    case QStyle::SP_DialogCloseButton:
        return StandardPicture{"standardbutton-close", "window-close"};
    default:
        return std::nullopt;
    }
}

// One picture read as a PNG, never guessed: no image-format plugin loads.
QImage readPng(const QString &path)
{
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// The icon of the three pictures, read on first use: the 16- and 32-pixel
// ones for a drawing of up to 32 device pixels (a button's icon, on a
// screen of up to twice the density), all three for a larger one (the
// 128-pixel picture is most of the reading, and only a larger drawing takes
// it). Each drawing is the one Qt's icon of all three pictures makes once
// it has read them.
class PngPicturesEngine : public QIconEngine
{
public:
    explicit PngPicturesEngine(const QString &baseName)
        : m_baseName(baseName)
    {
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return iconFor(size).pixmap(size, 1.0, mode, state);
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        iconFor(rect.size() * ratio).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return iconFor(size).actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(32, 32), QSize(128, 128)};
    }
    QIconEngine *clone() const override { return new PngPicturesEngine(m_baseName); }
    QString key() const override { return QStringLiteral("Sticker2PngPictures"); }
    bool isNull() override { return false; }

    // Whether the pictures are there to read (another Qt may lack them).
    bool readable() { return !iconFor(QSize(16, 16)).isNull(); }

private:
    // Qt's icon takes the smallest picture whose area covers the drawing's
    // (the pictures are a little smaller than their names: 15 by 16, 30 by
    // 32), else the largest: the 128-pixel one only for a drawing larger
    // than the 32-pixel picture.
    const QIcon &iconFor(const QSize &deviceSize)
    {
        if (m_small.isNull() && !read(m_small, {16, 32}))
            return m_none;
        if (qint64(deviceSize.width()) * deviceSize.height() <= m_smallArea)
            return m_small;
        if (m_all.isNull() && !read(m_all, {16, 32, 128}))
            return m_none;
        return m_all;
    }

    bool read(QIcon &icon, std::initializer_list<int> sizes)
    {
        for (int size : sizes) {
            const QImage image = readPng(CommonStyleImages + QStringLiteral("%1-%2.png").arg(m_baseName).arg(size));
            if (image.isNull())
                return false;
            icon.addPixmap(QPixmap::fromImage(image));
            m_smallArea = qMax(m_smallArea, size == 128 ? m_smallArea : qint64(image.width()) * image.height());
        }
        return true;
    }

    const QString m_baseName;
    QIcon m_small;
    QIcon m_all;
    QIcon m_none;
    qint64 m_smallArea = 0; // the area of the larger small picture
};

// Qt's pixmap cache key of a file read by QPixmap: "qt_pixmap", the path,
// then the file's last change (seconds), its size and the pixmap type, each
// written byte by byte from the lowest, low half-byte first.
template <typename T>
QString hexBytes(T value)
{
    static const char digits[] = "0123456789abcdef";
    QString out;
    const auto *bytes = reinterpret_cast<const uchar *>(&value);
    for (size_t i = 0; i < sizeof(T); ++i) {
        out += QLatin1Char(digits[bytes[i] & 0xf]);
        out += QLatin1Char(digits[bytes[i] >> 4]);
    }
    return out;
}

// The style's icon as standard() and builtIn() give it: `askTheme` whether
// an icon theme that has the icon gives it.
QIcon fusionIcon(QStyle::StandardPixmap which, const QWidget *widget, bool askTheme)
{
    QStyle *style = widget ? widget->style() : nullptr;
    const auto styleIcon = [&] { return style ? style->standardIcon(which, nullptr, widget) : QIcon(); };
    // Qt's own Fusion style draws these icons from the common style's
    // pictures; another style may have its own.
    const std::optional<StandardPicture> picture = pictureOf(which);
    if (!picture || !style || style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return styleIcon();
    // An icon theme that has the icon gives it (the style asks the theme first).
    if (askTheme && picture->themeName && QGuiApplication::desktopSettingsAware()
        && !QIcon::themeName().isEmpty() && QIcon::hasThemeIcon(QLatin1String(picture->themeName)))
        return styleIcon();
    auto engine = std::make_unique<PngPicturesEngine>(QLatin1String(picture->baseName));
    if (!engine->readable()) // a Qt without these pictures
        return styleIcon();
    return QIcon(engine.release());
}

} // namespace

QIcon standard(QStyle::StandardPixmap which, const QWidget *widget)
{
    return fusionIcon(which, widget, true);
}

QIcon builtIn(QStyle::StandardPixmap which, const QWidget *widget)
{
    return fusionIcon(which, widget, false);
}

bool preloadGroupBoxFrame(const QStyle *style)
{
    if (!style || style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return false;
    const QFileInfo file(CommonStyleImages + QStringLiteral("fusion_groupbox.png"));
    if (!file.exists())
        return false;
    const QString key = QStringLiteral("qt_pixmap") + file.absoluteFilePath()
        + hexBytes<uint>(uint(file.lastModified().toSecsSinceEpoch())) + hexBytes<quint64>(quint64(file.size()))
        + hexBytes<uint>(0); // QPlatformPixmap::PixmapType
    QPixmap cached;
    if (QPixmapCache::find(key, &cached))
        return true; // read already
    const QImage image = readPng(file.absoluteFilePath());
    if (image.isNull())
        return false;
    return QPixmapCache::insert(key, QPixmap::fromImage(image));
}

} // namespace StylePictures
