#pragma once

#include "codepage/CodePage.h"
#include "escp/PrinterModel.h"

// What the printer is set to before a print file says anything: the form
// length for files that send none (11 in, 12 in for European fanfold), the
// carriage (wide 13.6 in or narrow 8 in; a line wider wraps as the printer
// wraps it) and the code page that reads the characters when the file
// chooses no character table of its own. The printer model (9 or 24 pins,
// ESC/P2), or Auto to take the one the file's commands tell.
struct PrinterSetup
{
    // The printer's own defaults, the one place every reader takes them from
    // (the sheet index, the printer's state, a sheet, the view's settings).
    static constexpr double DefaultFormLength = 11.0; // inches: US fanfold
    static constexpr double WideCarriage = 13.6;      // inches
    static constexpr double NarrowCarriage = 8.0;     // inches

    double formLengthInches = DefaultFormLength;
    double carriageInches = WideCarriage;
    CodePage::Id codePage = CodePage::Id::Latin1;
    PrinterModel model = PrinterModel::Auto;
};
