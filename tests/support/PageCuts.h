#pragma once

#include <QByteArray>
#include <QList>
#include <QTest>

// The page table's cuts, one table for the tests that cut pages (from a
// mapped file and from bytes in memory): a file, the pages it is cut into
// and what follows the last page (never a page). A form feed cuts only
// where the printer obeys it, not inside a command's parameters or a
// picture's dots.
namespace PageCuts {

using ByteList = QList<QByteArray>;

inline void addRows()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<ByteList>("pages");
    QTest::addColumn<QByteArray>("tail");
    const auto row = [](const char *name, const QByteArray &file, const ByteList &pages,
                         const QByteArray &tail = QByteArray()) { QTest::newRow(name) << file << pages << tail; };
    // Every byte but FF, on a page of its own and again on the next.
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        if (b != '\f')
            all.append(char(b));
    }
    const QByteArray esc("\x1b");
    row("empty file: one empty page", QByteArray(), {""});
    row("no form feed: one page", "a\r\nb\r\n", {"a\r\nb\r\n"});
    row("n form feeds: n pages", "\f\fx\f\f", {"", "", "x", ""});
    row("ends in a form feed", "A\fB\f", {"A", "B"});
    row("begins with a form feed", "\fB", {"", "B"});
    row("text after the last form feed is a page", "ab\fcd\r\n\fe", {"ab", "cd\r\n", "e"});
    row("line ends and a reset after the last form feed are not", "ab\f\r\n\x1b@", {"ab"}, "\r\n\x1b@");
    row("line ends, a reset and blanks after the last form feed", "A\f\r\n\x1b@  \r\n", {"A"},
        "\r\n\x1b@  \r\n");
    row("every byte value", all + '\f' + all + '\f', {all, all});
    const QByteArray picture = esc + "K" + QByteArray("\x02\x00\x0c\x0c", 4);
    row("form feed bytes in picture data", "A" + picture + "B\fC", {"A" + picture + "B", "C"});
    // ESC ? gives ESC K a 24-pin density: 3 bytes a column, form feeds among them.
    const QByteArray wide = esc + "?K\x27" + esc + "K" + QByteArray("\x02\x00", 2) + QByteArray(6, '\f');
    row("ESC K of 24 pins after ESC ?", "A" + wide + "B\fC", {"A" + wide + "B", "C"});
    row("ESC @ gives ESC K its own density back", esc + "?K\x27" + esc + "@" + picture + "B\fC",
        {esc + "?K\x27" + esc + "@" + picture + "B", "C"});
    row("form feed byte as a parameter", esc + "C\x0c" + "A\f", {esc + "C\x0c" + "A"});
    // Longer than the blocks a large file is read in (the test reads it in
    // blocks of a few bytes): the form feeds among the dots cut nothing.
    const QByteArray longPicture = esc + "K" + QByteArray("\xc8\x00", 2) + QByteArray(200, '\f');
    row("picture longer than a block", "A\r\n" + longPicture + "\r\nB\fC", {"A\r\n" + longPicture + "\r\nB", "C"});
    const QByteArray setUp = esc + "@" + esc + "C\x0c" + esc + QByteArray("(U\x01\x00\x0a", 5) + esc + "3\x0c";
    row("commands across block ends", "x" + setUp + "\f" + setUp + "y\f" + setUp + setUp + "z",
        {"x" + setUp, setUp + "y", setUp + setUp + "z"});
    // The cut looks for form feeds and ESC many bytes at a time: one at each
    // place of those steps.
    for (const int at : {0, 1, 15, 16, 17, 47, 48, 63, 64, 65, 79, 127, 128, 129, 191, 200}) {
        const QByteArray before(at, 'a');
        const QByteArray after(130, 'b');
        QTest::addRow("form feed after %d bytes", at) << before + '\f' + after << ByteList {before, after} << QByteArray();
        QTest::addRow("ESC C after %d bytes", at) << before + esc + "C\x0c" + after + '\f' + after
                                                  << ByteList {before + esc + "C\x0c" + after, after} << QByteArray();
    }
    // HP's job language before and after the job: the closing escape makes
    // no page, and the form feed in a PJL line cuts none.
    const QByteArray uel = esc + "%-12345X";
    const QByteArray pjl = uel + "@PJL SET FORMLINES=66\f\r\n@PJL ENTER LANGUAGE=ESCP\r\n";
    row("job language around the job", pjl + "A\fB\f" + uel, {pjl + "A", "B"}, uel);
    const QByteArray shortPicture = esc + "K" + QByteArray("\x09\x00\x0c", 3);
    row("picture cut short eats the rest", "A\f" + shortPicture, {"A", shortPicture});
}

} // namespace PageCuts
