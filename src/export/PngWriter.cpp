#include "export/PngWriter.h"

#include <QIODevice>
#include <QObject>

#include <csetjmp>
#include <png.h>

// libpng reports errors by longjmp to the setjmp of the call that failed:
// every function below that calls it keeps no object with a destructor
// alive across that call.
struct PngWriter::Png
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngWriter *owner = nullptr;
    char message[256] = {};
};

namespace {

void onError(png_structp png, png_const_charp message)
{
    auto *state = static_cast<PngWriter::Png *>(png_get_error_ptr(png));
    if (state && state->message[0] == 0)
        qstrncpy(state->message, message, sizeof state->message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) { }

} // namespace

struct PngWriterAccess
{
    static void write(png_structp png, png_bytep data, size_t length)
    {
        auto *state = static_cast<PngWriter::Png *>(png_get_io_ptr(png));
        // A write may take part of the bytes (a file reaching its size limit
        // or a full disk); the next one then fails with the cause.
        const char *bytes = reinterpret_cast<const char *>(data);
        qint64 left = qint64(length);
        while (left > 0) {
            const qint64 written = state->owner->m_out.write(bytes, left);
            if (written <= 0) {
                state->owner->m_error = state->owner->m_out.errorString();
                png_error(png, "write");
            }
            bytes += written;
            left -= written;
        }
    }
    static void flush(png_structp) { }
};

PngWriter::PngWriter(QIODevice &out, int width, int height, int dpi, bool colour)
    : m_out(out)
{
    m_png = new Png;
    m_png->owner = this;
    m_png->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, m_png, onError, onWarning);
    if (m_png->png)
        m_png->info = png_create_info_struct(m_png->png);
    if (!m_png->png || !m_png->info) {
        m_error = QObject::tr("The PNG writer cannot start.");
        return;
    }
    if (setjmp(png_jmpbuf(m_png->png))) {
        if (m_error.isEmpty())
            m_error = QString::fromLatin1(m_png->message);
        return;
    }
    png_set_write_fn(m_png->png, m_png, PngWriterAccess::write, PngWriterAccess::flush);
    png_set_IHDR(m_png->png, m_png->info, png_uint_32(width), png_uint_32(height), 8,
        colour ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const png_uint_32 perMetre = png_uint_32(dpi / 0.0254 + 0.5);
    png_set_pHYs(m_png->png, m_png->info, perMetre, perMetre, PNG_RESOLUTION_METER);
    png_write_info(m_png->png, m_png->info);
}

PngWriter::~PngWriter()
{
    if (m_png->png)
        png_destroy_write_struct(&m_png->png, m_png->info ? &m_png->info : nullptr);
    delete m_png;
}

bool PngWriter::writeRows(const uchar *rows, int count, qsizetype stride)
{
    if (!m_error.isEmpty() || !m_png->info)
        return false;
    if (setjmp(png_jmpbuf(m_png->png))) {
        if (m_error.isEmpty())
            m_error = QString::fromLatin1(m_png->message);
        return false;
    }
    for (int i = 0; i < count; ++i)
        png_write_row(m_png->png, rows + i * stride);
    return true;
}

bool PngWriter::writeWhiteRows(int count)
{
    if (!m_error.isEmpty() || !m_png->info)
        return false;
    const QByteArray white(int(png_get_rowbytes(m_png->png, m_png->info)), char(0xFF));
    png_set_filter(m_png->png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    return writeRows(reinterpret_cast<const uchar *>(white.constData()), count, 0); // the one row again
}

bool PngWriter::finish()
{
    if (!m_error.isEmpty() || !m_png->info)
        return false;
    if (setjmp(png_jmpbuf(m_png->png))) {
        if (m_error.isEmpty())
            m_error = QString::fromLatin1(m_png->message);
        return false;
    }
    png_write_end(m_png->png, m_png->info);
    return true;
}
