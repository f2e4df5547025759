#pragma once

#include <QByteArrayView>

// One piece of a print file as the printer reads it.
struct EscpToken
{
    enum Kind : uchar {
        End,     // no more bytes
        Text,    // characters to print, no control among them
        Control, // one control character (CR, LF, FF, SO ...)
        Command, // ESC, its letter and its parameters
        Picture, // a bit-image or raster command with its dot data
    };
    Kind kind = End;
    uchar code = 0;   // the control character, or the letter after ESC
    uchar sub = 0;    // the letter after ESC ( ; the first parameter byte of others
    qsizetype offset = 0; // where the token begins in the bytes
    qsizetype length = 0; // all its bytes
    qsizetype parameters = 0; // where its parameters begin (just after the letter)
    bool truncated = false;   // a picture whose dot data the file cuts short

    qsizetype end() const { return offset + length; }
};

// Cuts print file bytes into tokens, one at a time, where they lie (nothing
// is copied). A command whose parameters or data run past the end of the
// bytes is not a command: its ESC is read as text, and the bytes after it as
// they come. Text stops only at control characters, so most of a report is
// crossed in long runs (of at most MostText bytes: a longer run is cut into
// tokens of that size, so every pass stays linear in the file).
class EscpTokenizer
{
public:
    // `pins` (9 or 24) chooses the form of downloaded characters; 0 takes
    // the form the bytes fit.
    explicit EscpTokenizer(QByteArrayView bytes, qsizetype from = 0, int pins = 0)
        : m_data(reinterpret_cast<const uchar *>(bytes.data()))
        , m_size(bytes.size())
        , m_pos(from)
        , m_pins(pins)
    { }

    static constexpr qsizetype MostText = qsizetype(1) << 16;

    EscpToken next();
    qsizetype position() const { return m_pos; }
    void seek(qsizetype pos) { m_pos = pos; }

    // The length of the ESC command at `pos` (the ESC included) as its
    // parameters declare it, which may run past the end of the bytes; -1 when
    // even its fixed part does not fit.
    static qsizetype commandLength(const uchar *data, qsizetype size, qsizetype pos, int pins = 0);

private:
    const uchar *m_data;
    qsizetype m_size;
    qsizetype m_pos;
    int m_pins;
};
