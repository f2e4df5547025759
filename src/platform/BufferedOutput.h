#pragma once

#include <QByteArray>
#include <QIODevice>

// Gathers small writes into large ones in front of another device. The
// files we save to write through at once (so a failure shows where it
// happens), and a PDF writer writes many small pieces: a million blank
// sheets were ten million system calls. The target must be open; this
// device opens itself for writing. A write the target refuses fails this
// device's next writes too, with the target's cause as its error text.
class BufferedOutput : public QIODevice
{
public:
    explicit BufferedOutput(QIODevice &target, qint64 chunk = 1 << 20);
    ~BufferedOutput() override;

    bool isSequential() const override { return true; }
    // Hands what is gathered to the target; false when it refuses.
    bool flushBuffer();

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

private:
    QIODevice &m_target;
    QByteArray m_buffer;
    qint64 m_chunk;
    bool m_failed = false;
};
