#pragma once

#include <QString>
#include <QtGlobal>

class QIODevice;

// Writes an 8-bit grey (or RGB) PNG row by row through libpng, so a picture of any
// height needs only the rows at hand in memory. Every call returns false
// once something failed; error() then says why (the device's own words when
// writing failed).
class PngWriter
{
public:
    PngWriter(QIODevice &out, int width, int height, int dpi, bool colour = false);
    ~PngWriter();
    PngWriter(const PngWriter &) = delete;
    PngWriter &operator=(const PngWriter &) = delete;

    // `count` rows of `width` grey bytes (three bytes a pixel in colour),
    // `stride` bytes apart.
    bool writeRows(const uchar *rows, int count, qsizetype stride);
    // `count` white rows, unfiltered: a blank sheet costs its compression
    // alone (libpng's choice of filter for each row was most of it).
    bool writeWhiteRows(int count);
    // After the last row.
    bool finish();
    QString error() const { return m_error; }

    struct Png; // libpng's state, opaque

private:
    friend struct PngWriterAccess;
    Png *m_png = nullptr;
    QIODevice &m_out;
    QString m_error;
};
