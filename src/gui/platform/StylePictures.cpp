#include "gui/platform/StylePictures.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace StylePictures {

namespace {

const QString CommonStyleImages = QStringLiteral(":/qt-project.org/styles/commonstyle/images/");

// The common style's pictures of these icons: the base of the file names,
// each at 16, 32 and 128 pixels.
const char *baseNameOf(QStyle::StandardPixmap which)
{
    switch (which) {
    case QStyle::SP_FileDialogContentsView:
        return "filecontents";
    case QStyle::SP_DialogApplyButton:
        return "standardbutton-apply";
    case QStyle::SP_DialogCloseButton:
        return "standardbutton-close";
    default:
        return nullptr;
    }
}

// One picture read as a PNG, never guessed: no image-format plugin loads.
QImage readPng(const QString &path)
{
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// A button's icon is 16 pixels, 32 on a screen of twice the density: the
// 128-pixel picture is drawn only on a denser screen, and read only then
// (it is most of the reading).
bool denseScreen()
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [](const QScreen *s) { return s->devicePixelRatio() > 2; });
}

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

} // namespace

QIcon standard(QStyle::StandardPixmap which, const QWidget *widget)
{
    QStyle *style = widget ? widget->style() : nullptr;
    const auto styleIcon = [&] { return style ? style->standardIcon(which, nullptr, widget) : QIcon(); };
    const char *baseName = baseNameOf(which);
    // A desktop's icon theme gives its own icons (the style asks it first).
    if (!baseName || (QGuiApplication::desktopSettingsAware() && !QIcon::themeName().isEmpty()))
        return styleIcon();
    QIcon icon;
    const bool dense = denseScreen();
    for (int size : {16, 32, 128}) {
        if (size == 128 && !dense)
            continue;
        const QImage image = readPng(CommonStyleImages + QStringLiteral("%1-%2.png").arg(QLatin1String(baseName)).arg(size));
        if (image.isNull()) // a Qt without these pictures
            return styleIcon();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

bool preloadGroupBoxFrame(const QStyle *style)
{
    if (!style || style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return false;
    const QFileInfo file(CommonStyleImages + QStringLiteral("fusion_groupbox.png"));
    if (!file.exists())
        return false;
    const QImage image = readPng(file.absoluteFilePath());
    if (image.isNull())
        return false;
    const QString key = QStringLiteral("qt_pixmap") + file.absoluteFilePath()
        + hexBytes<uint>(uint(file.lastModified().toSecsSinceEpoch())) + hexBytes<quint64>(quint64(file.size()))
        + hexBytes<uint>(0); // QPlatformPixmap::PixmapType
    return QPixmapCache::insert(key, QPixmap::fromImage(image));
}

} // namespace StylePictures
