#include "cli/OptionTables.h"

#include "codepage/CodePage.h"
#include "escp/PrinterModel.h"
#include "export/ExportFormat.h"
#include "export/PngResolution.h"
#include "printing/CaptureQueue.h"
#include "printing/RawPrinting.h"
#include "report/FormLength.h"
#include "report/PageChoice.h"
#include "sticker/CsvTable.h"
#include "sticker/FormatStore.h"
#include "sticker/StickerInput.h"

#include <limits>

namespace OptionTables {

namespace {

using Option = CommandOption;
using Names = QStringList;

constexpr double NoLimit = std::numeric_limits<int>::max();

QStringList codePageNames()
{
    return CodePage::names().split(QStringLiteral(", "));
}

QStringList formatNames()
{
    QStringList names;
    for (const ExportFormatInfo &info : exportFormats())
        names << info.name;
    return names;
}


bool isDelimiter(const QString &value)
{
    return !CsvTable::delimiterNamed(value).isNull();
}

bool isPaperHeight(const QString &value)
{
    qint16 height = 0;
    return paperHeightOf(value, &height, nullptr);
}

// --codepage, as view, convert, print and rules test take it: a code page or
// a guess from the file's bytes.
Option readingCodePage(const QString &help)
{
    return Option::choice({ QStringLiteral("codepage") }, QStringLiteral("NAME"),
        codePageNames() << QStringLiteral("auto"), help.arg(CodePage::names()));
}

} // namespace

CommandOptions view()
{
    return {
        readingCodePage(QStringLiteral("The code page the print files are read in: %1 (latin1: every byte as "
                                       "it is), or auto, guessed from each file's bytes (default: the stored one).")),
    };
}

CommandOptions convert()
{
    return {
        Option::choice({ QStringLiteral("to") }, QStringLiteral("FORMAT"), formatNames(),
            QStringLiteral("The format (default: from OUT's name: .html, .htm, .txt, .rtf, .xls, .xlsx, .pdf, .png, "
                           "as the export dialog chooses it, but for .htm, a web page here, and any other ending, "
                           "which needs --to here).")),
        Option::text({ QStringLiteral("pages") }, QStringLiteral("all|N|A-B"),
            QStringLiteral("The pages of plain text, rich text and the PDF, numbered from 1; the sheets of the "
                           "printed look (default all). A range beyond the last page is cut to the last page."))
            .withDefault(QStringLiteral("all"))
            .checkedBy(isPageChoiceText, QStringLiteral("all, N or A-B (numbered from 1, A not past B)")),
        Option::text({ QStringLiteral("marks") }, QStringLiteral("C1,C2,..."),
            QStringLiteral("The workbook's column marks, as the view's status line counts columns (from 0): "
                           "each line is cut at them, and what follows the last mark is its last column; "
                           "required for xlsx.")),
        Option::choice({ QStringLiteral("look") }, QStringLiteral("LOOK"),
            { QStringLiteral("printed"), QStringLiteral("emphasis") },
            QStringLiteral("The PDF's look: printed (the default: the sheets as the printer prints them, at "
                           "true size where they fit the paper) or emphasis (the pages with the view's emphasis "
                           "colours, fitted to the paper)."))
            .withDefault(QStringLiteral("printed")),
        Option::choice({ QStringLiteral("paper") }, QStringLiteral("PAPER"),
            { QStringLiteral("a4"), QStringLiteral("letter") },
            QStringLiteral("The PDF's paper (default: the user's, as libpaper chooses it: $PAPERSIZE, "
                           "LC_PAPER, /etc/papersize).")),
        Option::flag({ QStringLiteral("landscape") }, QStringLiteral("The PDF's pages landscape.")),
        Option::wholeNumber({ QStringLiteral("dpi") }, QStringLiteral("N"), PngExport::MinimumDpi,
            PngExport::MaximumDpi,
            QStringLiteral("The pictures' resolution in dots per inch, %1 to %2 (default %3); png writes one "
                           "file per sheet, OUT-001.png, OUT-002.png ...")
                .arg(PngExport::MinimumDpi)
                .arg(PngExport::MaximumDpi)
                .arg(PngExport::DefaultDpi)),
        Option::number({ QStringLiteral("form-length") }, QStringLiteral("INCHES"), FormLength::Shortest,
            FormLength::Longest,
            QStringLiteral("The printed look's form length for files that set none (default: the setting, 11; "
                           "12 for European fanfold).")),
        Option::choice({ QStringLiteral("carriage") }, QStringLiteral("CARRIAGE"),
            { QStringLiteral("wide"), QStringLiteral("narrow") },
            QStringLiteral("The printed look's carriage: wide (13.6 in, the default) or narrow (8 in); a longer "
                           "line wraps as the printer wraps it.")),
        Option::choice({ QStringLiteral("printer") }, QStringLiteral("MODEL"), PrinterModels::names(),
            QStringLiteral("The printer the file was written for, as the printed look reads it (default: the "
                           "setting, auto: the file's commands tell). 9 and 24 pins count line spacing in other "
                           "steps (ESC 3 30 is 1/6 inch on 24 pins, 30/216 inch on 9); escp2 is a 24-pin printer "
                           "that knows the ESC/P2 commands.")),
        Option::file({ QStringLiteral("form") }, QStringLiteral("FIRST[,NEXT]"),
            QStringLiteral("The forms under the printed look's sheets: FIRST under the first sheet, NEXT under "
                           "the sheets after it (FIRST alone: under every sheet; either may be empty; \",\" none), "
                           "each a PDF file (its first page, or FILE#page=N) or a PNG or JPEG image at its own "
                           "resolution (default: the view's setting); a name may hold commas, the list is cut "
                           "where it names files. In a PDF a form stays as it is (vector, its text searchable) "
                           "and is stored once. A form that cannot be used fails the conversion.")),
        Option::text({ QStringLiteral("form-offset") }, QStringLiteral("X,Y"),
            QStringLiteral("Moves the forms right and down by X and Y millimetres (default: the view's "
                           "setting).")),
        Option::text({ QStringLiteral("pdf-title") }, QStringLiteral("TEXT"),
            QStringLiteral("The PDF's title (default: the print file's name).")),
        Option::text({ QStringLiteral("pdf-subject") }, QStringLiteral("TEXT"), QStringLiteral("The PDF's subject.")),
        Option::text({ QStringLiteral("pdf-keywords") }, QStringLiteral("TEXT"), QStringLiteral("The PDF's keywords.")),
        readingCodePage(QStringLiteral("The code page the print file is read in: %1, or auto, guessed from its "
                                       "bytes (default: the stored one).")),
        Option::file({ QStringLiteral("rules") }, QStringLiteral("FILE"),
            QStringLiteral("A PDF named, filed, mailed and printed by the first rule of this rules file that "
                           "matches the job; OUT is where it goes when no rule says otherwise.")),
        Option::folder({ QStringLiteral("out-dir") }, QStringLiteral("DIR"),
            QStringLiteral("Converts every FILE given into this folder, under its own name with the format's "
                           "ending (--to is needed); one line per file that fails, status 1 if any did.")),
        Option::wholeNumber({ QStringLiteral("j"), QStringLiteral("jobs") }, QStringLiteral("N"), 1, 256,
            QStringLiteral("With --out-dir, how many files are converted at once (default: the processors).")),
        // The watch's conversions: the one argument is a folder to watch.
        Option::flag({ QStringLiteral("watch") }, QStringLiteral("The one FILE is a folder to watch.")).hiddenOne(),
        Option::flag({ QStringLiteral("keep") }, QStringLiteral("A converted job stays where it is.")).hiddenOne(),
        Option::flag({ QStringLiteral("move") }, QStringLiteral("A converted job moves to DIR/done.")).hiddenOne(),
        Option::file({ QStringLiteral("rules-origin") }, QStringLiteral("FILE"),
            QStringLiteral("The rules file the --rules copy came from."))
            .hiddenOne(),
        Option::file({ QStringLiteral("rules-plan") }, QStringLiteral("FILE"),
            QStringLiteral("Write the plan here instead of carrying it out."))
            .hiddenOne(),
    };
}

CommandOptions print()
{
    return {
        Option::text({ QStringLiteral("d"), QStringLiteral("printer") }, QStringLiteral("QUEUE"),
            QStringLiteral("The CUPS queue (default: the default destination).")),
        Option::text({ QStringLiteral("pages") }, QStringLiteral("all|N|A-B"),
            QStringLiteral("all (default: the file as it is), N or A-B: those sheets of the printed look, as "
                           "convert and the view count them; the pages they were printed from go out, each with "
                           "its form feed."))
            .withDefault(QStringLiteral("all"))
            .checkedBy(isPageChoiceText, QStringLiteral("all, N or A-B (numbered from 1, A not past B)")),
        Option::flag({ QStringLiteral("draft") }, QStringLiteral("Draft quality (the default).")),
        Option::flag({ QStringLiteral("no-draft") }, QStringLiteral("Letter quality.")),
        Option::choice({ QStringLiteral("cpi") }, QStringLiteral("PITCH"),
            { QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("17") },
            QStringLiteral("Characters per inch: 10 (default), 12 or 17 (condensed)."))
            .withDefault(QStringLiteral("10")),
        Option::number({ QStringLiteral("paper-height") }, QStringLiteral("INCHES"), 0, 255,
            QStringLiteral("The page length in inches set at the printer before the pages, 0 to 255; 0 (the "
                           "default) sends none, and the printer keeps its own."))
            .withDefault(QStringLiteral("0"))
            .checkedBy(isPaperHeight, QStringLiteral("a number from 0 to 255")),
        Option::wholeNumber({ QStringLiteral("copies") }, QStringLiteral("N"), 1, 1000000,
            QStringLiteral("Copies (default 1)."))
            .withDefault(QStringLiteral("1")),
        Option::flag({ QStringLiteral("extra-line") },
            QStringLiteral("One more line end after the first line (the print panel's \"-1 Line\").")),
        Option::choice({ QStringLiteral("printer-model") }, QStringLiteral("MODEL"), PrinterModels::names(),
            QStringLiteral("The printer the file was written for, as the sheets of --pages are counted (default: "
                           "the setting); convert's --printer.")),
        // Taken for a command line shared with view and convert; the printer
        // has its own code page, so the bytes go out as they are.
        readingCodePage(QStringLiteral("Taken and checked as for view (%1 or auto); the bytes go out unchanged "
                                       "whatever it names.")),
    };
}

CommandOptions stickers()
{
    return {
        Option::wholeNumber({ QStringLiteral("slot") }, QStringLiteral("N"), 0, FormatStore::SlotCount - 1,
            QStringLiteral("The stored format slot (required): the number of its file, Format/N.txt. The form's "
                           "buttons 1 to 5 are slots 1 to 5, its button 6 is slot 0, and 7 and 8 are slots 6 and 7.")),
        Option::file({ QStringLiteral("o"), QStringLiteral("output") }, QStringLiteral("FILE|-"),
            QStringLiteral("The character-mode print file to write, or - for standard output.")),
        Option::wholeNumber({ QStringLiteral("pages") }, QStringLiteral("N"), 1, NoLimit,
            QStringLiteral("Pages of stickers, the number of sheets to make (default: the slot's own).")),
        Option::wholeNumber({ QStringLiteral("digits") }, QStringLiteral("D"), 0, StickerInput::MaxDigits,
            QStringLiteral("Running numbers padded with zeros to D digits (default: the slot's own).")),
        Option::file({ QStringLiteral("data") }, QStringLiteral("FILE.csv"),
            QStringLiteral("A CSV file: one sticker per row; {Column} in a line takes its value.")),
        Option::choice({ QStringLiteral("delimiter") }, QStringLiteral("NAME"),
            { QStringLiteral("comma"), QStringLiteral("semicolon"), QStringLiteral("tab") },
            QStringLiteral("With --data: the data's delimiter (default: the one its header line uses)."))
            .checkedBy(isDelimiter, QStringLiteral("comma, semicolon or tab")),
        Option::choice({ QStringLiteral("data-encoding") }, QStringLiteral("NAME"), CsvTable::encodingNames(),
            QStringLiteral("With --data: the data's encoding (default: UTF-8, else Windows-1252; a byte-order "
                           "mark decides)."))
            .checkedBy(CsvTable::isKnownEncoding,
                QStringLiteral("an encoding such as %1").arg(CsvTable::encodingNames().join(QStringLiteral(", ")))),
        Option::file({ QStringLiteral("pdf") }, QStringLiteral("OUT.pdf"),
            QStringLiteral("Draws the Windows-mode sheet into this PDF instead of writing a print file (-o).")),
        Option::wholeNumber({ QStringLiteral("start") }, QStringLiteral("K"), 1, NoLimit,
            QStringLiteral("With --pdf: the first free sticker of a part-used sheet (from 1).")),
        Option::choice({ QStringLiteral("barcode") }, QStringLiteral("KIND"),
            { QStringLiteral("code128"), QStringLiteral("code39"), QStringLiteral("ean13"), QStringLiteral("qr"),
                QStringLiteral("none") },
            QStringLiteral("With --pdf: the numbered line as a barcode, or none.")),
        Option::choice({ QStringLiteral("codepage") }, QStringLiteral("NAME"), codePageNames(),
            QStringLiteral("The printer's code page the sheet is written in: %1 (default: the slot's, chosen "
                           "in the sticker form's More panel; cp1252 unless chosen).")
                .arg(CodePage::names())),
    };
}

CommandOptions watch()
{
    return {
        Option::choice({ QStringLiteral("convert") }, QStringLiteral("FORMAT"), formatNames(),
            QStringLiteral("Instead of opening views, with no window: converts each complete job (and each one "
                           "there already without a newer output) as convert does; convert's options are "
                           "taken too.")),
        Option::folder({ QStringLiteral("out") }, QStringLiteral("DIR"),
            QStringLiteral("With --convert: the folder the outputs go into; a job that fails moves to "
                           "DIR/failed, a log beside it.")),
        Option::file({ QStringLiteral("rules") }, QStringLiteral("FILE"),
            QStringLiteral("With --convert pdf: each job's PDF by the rules of FILE; a failed action moves the "
                           "job to DIR/failed with a log; FILE is read again when it changes.")),
        Option::flag({ QStringLiteral("keep") },
            QStringLiteral("With --convert: a converted job stays where it is (the default).")),
        Option::flag({ QStringLiteral("move") }, QStringLiteral("With --convert: a converted job moves to DIR/done.")),
        Option::wholeNumber({ QStringLiteral("j"), QStringLiteral("jobs") }, QStringLiteral("N"), 1, 256,
            QStringLiteral("With --convert: how many jobs are converted at once (default: the processors).")),
    };
}

CommandOptions capture()
{
    return {
        Option::text({ QStringLiteral("name") }, QStringLiteral("QUEUE"),
            QStringLiteral("The queue (default %1).").arg(CaptureQueue::DefaultName))
            .withDefault(CaptureQueue::DefaultName),
        Option::folder({ QStringLiteral("folder") }, QStringLiteral("DIR"),
            QStringLiteral("The folder the jobs are written into (default %1); the spooler's user lp writes "
                           "there.")
                .arg(CaptureQueue::DefaultFolder))
            .withDefault(CaptureQueue::DefaultFolder),
        Option::flag({ QStringLiteral("shared") },
            QStringLiteral("Offers the queue to other computers (default: this one only).")),
    };
}

CommandOptions rules()
{
    return {
        Option::file({ QStringLiteral("rules") }, QStringLiteral("FILE"),
            QStringLiteral("rules test: the rules file (required).")),
        readingCodePage(QStringLiteral("rules test: the code page of rules that name none: %1 or auto (default: "
                                       "the stored one).")),
    };
}

} // namespace OptionTables
