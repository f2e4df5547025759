#pragma once

#include <QByteArrayView>

#include <array>

// One piece of a print file as the printer reads it.
struct EscpToken
{
    enum Kind : uchar {
        End,     // no more bytes
        Text,    // characters to print, no control among them
        Control, // one control character (CR, LF, FF, SO ...)
        Command, // ESC, its letter and its parameters
        Picture, // a bit-image or raster command with its dot data
        Unfinished, // an ESC whose command the end of the bytes cuts short, to the end
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
// bytes is unfinished: the printer waits for the rest, and prints nothing of
// it (its letter and parameters had been read as text and printed). Text
// stops only at control characters, so most of a report is crossed in long
// runs (of at most MostText bytes: a longer run is cut into
// tokens of that size, so every pass stays linear in the file).
class EscpTokenizer
{
public:
    // The ESC * densities ESC K, L, Y and Z print in (ESC ? sets them).
    using ImageModes = std::array<quint8, 4>;
    static constexpr ImageModes DefaultImageModes{0, 1, 2, 3};

    // `pins` (9 or 24) chooses the form of downloaded characters; 0 takes
    // the form the bytes fit. `superSubscript`: ESC S is on where the reading
    // starts (a 24-pin downloaded character then has columns of 2 bytes);
    // `imageModes`: the densities of ESC K, L, Y and Z there (a 24-pin one
    // takes 3 bytes a column). From there the tokenizer follows ESC S, ESC T,
    // ESC ? and ESC @ itself.
    explicit EscpTokenizer(QByteArrayView bytes, qsizetype from = 0, int pins = 0, bool superSubscript = false,
        const ImageModes &imageModes = DefaultImageModes)
        : m_data(reinterpret_cast<const uchar *>(bytes.data()))
        , m_size(bytes.size())
        , m_pos(from)
        , m_pins(pins)
        , m_superSubscript(superSubscript)
        , m_imageModes(imageModes)
    { }

    static constexpr qsizetype MostText = qsizetype(1) << 16;

    EscpToken next();
    qsizetype position() const { return m_pos; }
    void seek(qsizetype pos) { m_pos = pos; }
    // Whether ESC S is on as far as the bytes are read; a reader that drops
    // ESC S or ESC T (graphics mode) says how it is.
    bool superSubscript() const { return m_superSubscript; }
    void setSuperSubscript(bool on) { m_superSubscript = on; }
    void setImageModes(const ImageModes &modes) { m_imageModes = modes; }

    // The length of the ESC command at `pos` (the ESC included) as its
    // parameters declare it, which may run past the end of the bytes; -1 when
    // even its fixed part does not fit. `superSubscript`: ESC S is on there.
    static qsizetype commandLength(const uchar *data, qsizetype size, qsizetype pos, int pins = 0,
        bool superSubscript = false, const ImageModes &imageModes = DefaultImageModes);
    // How the command of `length` bytes at `command` leaves the densities of
    // ESC K, L, Y and Z: ESC ? sets one, ESC @ all back.
    static void followImageModes(const uchar *command, qsizetype length, ImageModes *modes);
    // How the command `letter` (the letter after ESC) leaves ESC S: on
    // after ESC S, off after ESC T and ESC @, else as `on` was.
    static bool superSubscriptAfter(uchar letter, bool on)
    {
        return letter == 'S' ? true : letter == 'T' || letter == '@' ? false : on;
    }

private:
    const uchar *m_data;
    qsizetype m_size;
    qsizetype m_pos;
    int m_pins;
    bool m_superSubscript;
    ImageModes m_imageModes;
};
