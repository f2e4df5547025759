#pragma once

#include <QChar>

// The control characters of a text: C0 (NUL to US), DEL and C1 (0x80-0x9F,
// Latin-1's CSI among them). One test for every place that keeps them out of
// a name, a field or a line said on the terminal.
namespace ControlCharacters {

inline bool is(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u < 0xa0);
}

} // namespace ControlCharacters
