// One print file through everything that reads it without drawing: the
// tokens (each moves on and stays inside the bytes), the code-page guess and
// the printer-model guess that read them, the sheet index, and every sheet
// laid out from its own bytes, and all of them laid out one after the other
// from the start, which must begin each where the index did, and the index
// read in two or four parts at once, which must hold the same sheets. Quick enough for thousands of files a
// second; fuzz_printed draws the sheets too. The first byte picks the
// printer set-up.
#include "codepage/CodePageGuess.h"
#include "escp/EscpInterpreter.h"
#include "escp/EscpTokenizer.h"
#include "escp/SheetIndex.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uchar choice = data[0];
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    for (const int pins : {0, 9, 24}) {
        EscpTokenizer tokens(bytes, 0, pins);
        for (EscpToken t = tokens.next(); t.kind != EscpToken::End; t = tokens.next()) {
            if (t.length <= 0 || t.offset < 0 || t.end() > bytes.size())
                std::abort(); // a token must move on and stay inside the bytes
        }
    }
    CodePage::guess(bytes);

    PrinterSetup setup;
    static const double Forms[] = {11.0, 12.0, 1.0 / 6, 22.0};
    setup.formLengthInches = Forms[choice & 3];
    setup.carriageInches = (choice & 4) ? 8.0 : 13.6;
    static const PrinterModel Models[] = {PrinterModel::Auto, PrinterModel::NinePin, PrinterModel::TwentyFourPin,
        PrinterModel::EscP2};
    setup.model = Models[(choice >> 3) & 3];
    SheetIndex document;
    document.build(bytes, setup);
    const int sheets = document.sheetCount();
    if (sheets < 1)
        std::abort();
    // Every sheet made again from its own bytes: a sheet ends where the next
    // begins, and the bytes stay inside the file.
    qsizetype end = 0;
    QVector<qsizetype> firstBytes;
    for (int i = 0; i < sheets; ++i) {
        const Printed::Sheet sheet = document.sheet(i);
        firstBytes.append(sheet.firstByte);
        if (sheet.firstByte != end || sheet.endByte < sheet.firstByte || sheet.endByte > bytes.size())
            std::abort();
        if (sheet.pictureBytes > Printed::SheetBudget || sheet.height <= 0 || sheet.width <= 0)
            std::abort();
        end = sheet.endByte;
    }
    // Read in parts at once (as a large file is), the index must hold the
    // same sheets: a part's guessed state is kept only when it was right.
    SheetIndex parts;
    parts.build(bytes, setup, {}, 2 + (choice >> 7) * 2);
    if (parts.sheetCount() != sheets)
        std::abort();
    for (int i = sheets - 1; i >= 0; --i) {
        const Printed::Sheet sheet = parts.sheet(i);
        if (sheet.firstByte != firstBytes[i] || sheet.endByte != (i + 1 < sheets ? firstBytes[i + 1] : end))
            std::abort();
    }
    // The index only counts sheets, with shortcuts of its own: a pass that
    // lays the sheets out meets each at the same byte, and one that counts
    // in the same state there.
    setup.model = document.model();
    // (Each pass defines its own downloaded characters: alike when they hold the same.)
    const auto sameState = [](PrinterState a, PrinterState b) {
        const bool sameCharacters = a.downloaded == b.downloaded
            || (a.downloaded && b.downloaded && a.downloaded->at == b.downloaded->at
                && a.downloaded->pins == b.downloaded->pins);
        a.downloaded = b.downloaded = nullptr;
        return sameCharacters && a == b;
    };
    EscpInterpreter walk(bytes, setup, PrinterState::initial(setup), 0);
    EscpInterpreter counting(bytes, setup, PrinterState::initial(setup), 0);
    Printed::Sheet laidOut;
    for (int i = 1; i < sheets && walk.runSheet(&laidOut); ++i) {
        if (walk.position() != firstBytes[i] || !counting.runSheet(nullptr) || counting.position() != walk.position()
            || !sameState(counting.state(), walk.state()))
            std::abort();
        laidOut = Printed::Sheet();
    }
    return 0;
}
