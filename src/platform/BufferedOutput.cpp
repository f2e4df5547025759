#include "platform/BufferedOutput.h"

BufferedOutput::BufferedOutput(QIODevice &target, qint64 chunk)
    : m_target(target)
    , m_chunk(qMax<qint64>(1, chunk))
{
    m_buffer.reserve(m_chunk);
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

BufferedOutput::~BufferedOutput()
{
    flushBuffer();
}

bool BufferedOutput::flushBuffer()
{
    if (m_failed)
        return false;
    if (!m_buffer.isEmpty() && m_target.write(m_buffer) != m_buffer.size()) {
        m_failed = true;
        setErrorString(m_target.errorString());
    }
    m_buffer.resize(0); // keeps the chunk's room (clear() would give it back)
    return !m_failed;
}

qint64 BufferedOutput::writeData(const char *data, qint64 length)
{
    if (m_failed)
        return -1;
    if (m_buffer.size() + length > m_chunk && !flushBuffer())
        return -1;
    if (length >= m_chunk) // a large piece goes straight through
        return m_target.write(data, length) == length ? length : (m_failed = true, -1);
    m_buffer.append(data, length);
    return length;
}
