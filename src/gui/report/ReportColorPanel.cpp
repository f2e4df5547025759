#include "gui/report/ReportColorPanel.h"

#include "gui/controls/JeweledButton.h"
#include "gui/platform/CaptionFit.h"
#include "gui/report/FormChoiceDialog.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "report/ReportDocument.h"
#include "report/ReportFont.h"

#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int DetectEntry = -1; // the drop-down's "Detect", after the code pages

struct Sample
{
    const char *caption;
    double points;
    bool bold;
};

const Sample Samples[ReportColorPanel::SwatchCount] = {
    {QT_TRANSLATE_NOOP("ReportColorPanel", "Dubble"), 20.25, true},
    {QT_TRANSLATE_NOOP("ReportColorPanel", "Bold"), 12, true},
    {QT_TRANSLATE_NOOP("ReportColorPanel", "Normal"), 12, false},
    {QT_TRANSLATE_NOOP("ReportColorPanel", "Condence"), 9, false},
    {QT_TRANSLATE_NOOP("ReportColorPanel", "Report Backcolor"), 8.25, false},
    {QT_TRANSLATE_NOOP("ReportColorPanel", "Search String"), 8.25, false},
    {QT_TRANSLATE_NOOP("ReportColorPanel", "HighLight Text"), 8.25, false},
};

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    widget->setPalette(p);
}

} // namespace

ReportColorPanel::ReportColorPanel(ReportDocument &document, QWidget *parent)
    : QFrame(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("Frame6"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    // The panel is as large as its controls need in its font and language,
    // and follows them when a font or a caption changes.
    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    buildTitle(grid);
    buildSwatches(grid);
    buildCodePage(grid);
    buildPrinter(grid);
    buildFormChoice(grid);
    refresh();
    // The document changed by anyone else: the view, a bar, a command.
    connect(&m_document, &ReportDocument::markupChanged, this, &ReportColorPanel::showColors);
    connect(&m_document, &ReportDocument::paperColorChanged, this, &ReportColorPanel::showColors);
    connect(&m_document, &ReportDocument::marksChanged, this, [this] {
        showColors();
        showMarks();
    });
    connect(&m_document, &ReportDocument::codePageChanged, this, &ReportColorPanel::showCodePage);
    connect(&m_document, &ReportDocument::lookChanged, ChkPrinted, &QCheckBox::setChecked);

    fitCaptions(this);
    followFontChanges(this, [this] { squareClose(); });
    adjustSize();
    hide();
}

void ReportColorPanel::buildTitle(QGridLayout *grid)
{
    auto *title = new QLabel(tr("Color Setting"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    grid->addWidget(title, 0, 0, 1, 2);
    Command3 = new JeweledButton(QStringLiteral("Command3"), tr("X"), this);
    squareClose();
    connect(Command3, &QPushButton::clicked, this, &QWidget::hide);
    grid->addWidget(Command3, 0, 2, Qt::AlignRight);
}

void ReportColorPanel::squareClose()
{
    // Square, as tall as the font makes it.
    Command3->setFixedWidth(Command3->sizeHint().height() + 6);
}

void ReportColorPanel::buildSwatches(QGridLayout *grid)
{
    for (int i = 0; i < SwatchCount; ++i) {
        TXt[i] = new QLineEdit(this);
        TXt[i]->setObjectName(QStringLiteral("TXt(%1)").arg(i));
        TXt[i]->setReadOnly(true);
        TXt[i]->setFixedSize(40, 20);
        TXt[i]->setToolTip(tr("Double-click to choose the colour"));
        TXt[i]->installEventFilter(this);
        Lb[i] = new QLabel(tr(Samples[i].caption), this);
        Lb[i]->setObjectName(QStringLiteral("Lb(%1)").arg(i));
        Lb[i]->setFont(reportFont(Samples[i].points, Samples[i].bold));
        grid->addWidget(TXt[i], i + 1, 0);
        grid->addWidget(Lb[i], i + 1, 1);
    }
    ChSearch = new QCheckBox(tr("Bold"), this);
    ChSearch->setObjectName(QStringLiteral("ChSearch"));
    grid->addWidget(ChSearch, SearchString + 1, 2);
    ChHighlighte = new QCheckBox(tr("Bold"), this);
    ChHighlighte->setObjectName(QStringLiteral("ChHighlighte"));
    grid->addWidget(ChHighlighte, Highlight + 1, 2);
    ChL = new QCheckBox(tr("-1  Line"), this);
    ChL->setObjectName(QStringLiteral("ChL"));
    grid->addWidget(ChL, SwatchCount + 1, 0, 1, 3, Qt::AlignLeft);
    // Search matches go bold or not from the next search on, stored with
    // the colours; the other two are stored at once.
    connect(ChSearch, &QCheckBox::toggled, this, [this](bool on) {
        m_document.setSearchMark({m_document.searchMark().colour, on});
    });
    connect(ChHighlighte, &QCheckBox::toggled, this, [this](bool on) {
        m_document.setHighlightMark({m_document.highlightMark().colour, on});
    });
    connect(ChL, &QCheckBox::toggled, &m_document, &ReportDocument::setExtraLine);
    connect(ChHighlighte, &QCheckBox::clicked, this,
        [this](bool on) { tellUnsaved(ReportViewSettings::saveHighlightBold(on)); });
    connect(ChL, &QCheckBox::clicked, this, [this](bool on) { tellUnsaved(ReportViewSettings::saveMinusOneLine(on)); });
}

void ReportColorPanel::buildCodePage(QGridLayout *grid)
{
    LbCodePage = new QLabel(tr("Code page"), this);
    LbCodePage->setObjectName(QStringLiteral("LbCodePage"));
    CboCodePage = new QComboBox(this);
    CboCodePage->setObjectName(QStringLiteral("CboCodePage"));
    for (CodePage::Id id : CodePage::all())
        CboCodePage->addItem(CodePage::label(id), int(id));
    CboCodePage->addItem(tr("Detect"), DetectEntry);
    LbCodePage->setBuddy(CboCodePage);
    grid->addWidget(LbCodePage, SwatchCount + 2, 0);
    grid->addWidget(CboCodePage, SwatchCount + 2, 1, 1, 2);
    connect(CboCodePage, &QComboBox::activated, this, [this] {
        if (CboCodePage->currentData().toInt() == DetectEntry) {
            showCodePage(); // until the view has guessed
            emit detectChosen();
            return;
        }
        const auto chosen = CodePage::Id(CboCodePage->currentData().toInt());
        m_document.setCodePage(chosen); // its views read the page again
        if (m_document.codePage() != chosen)
            return; // given up while they did: the code page before stays, stored and chosen
        tellUnsaved(ReportViewSettings::saveCodePage(chosen));
        emit codePageChosen(chosen);
    });
}

void ReportColorPanel::buildPrinter(QGridLayout *grid)
{
    // The look of the page on screen: as it comes off the printer, or the
    // emphasis colours above.
    ChkPrinted = new QCheckBox(tr("Printed"), this);
    ChkPrinted->setObjectName(QStringLiteral("ChkPrinted"));
    ChkPrinted->setToolTip(printedToolTip());
    grid->addWidget(ChkPrinted, SwatchCount + 3, 0, 1, 3, Qt::AlignLeft);
    connect(ChkPrinted, &QCheckBox::clicked, this, [this](bool on) {
        tellUnsaved(ReportViewSettings::savePrintedLook(on));
        m_document.setPrintedLook(on);
        emit printedLookChosen(on);
    });
    // The printer the printed look prints on: the form length of files
    // that set none, and the carriage a longer line wraps at.
    CboFormLength = new QComboBox(this);
    CboFormLength->setObjectName(QStringLiteral("CboFormLength"));
    CboFormLength->addItem(tr("11 in form"), ReportViewSettings::DefaultFormLength);
    CboFormLength->addItem(tr("12 in form (European fanfold)"), 12.0);
    CboCarriage = new QComboBox(this);
    CboCarriage->setObjectName(QStringLiteral("CboCarriage"));
    CboCarriage->addItem(tr("Wide carriage (13.6 in)"), true);
    CboCarriage->addItem(tr("Narrow carriage (8 in)"), false);
    CboPrinterModel = new QComboBox(this);
    CboPrinterModel->setObjectName(QStringLiteral("CboPrinterModel"));
    for (PrinterModel model : {PrinterModel::Auto, PrinterModel::NinePin, PrinterModel::TwentyFourPin, PrinterModel::EscP2})
        CboPrinterModel->addItem(PrinterModels::title(model), int(model));
    CboPrinterModel->setToolTip(tr("The printer the file was written for: 9 and 24 pins count line spacing "
                                   "in other steps"));
    LbModelTaken = new QLabel(this);
    LbModelTaken->setObjectName(QStringLiteral("LbModelTaken"));
    grid->addWidget(CboFormLength, SwatchCount + 4, 0, 1, 3);
    grid->addWidget(CboCarriage, SwatchCount + 5, 0, 1, 3);
    grid->addWidget(CboPrinterModel, SwatchCount + 6, 0, 1, 3);
    grid->addWidget(LbModelTaken, SwatchCount + 7, 0, 1, 3);
    for (QComboBox *box : {CboFormLength, CboCarriage}) {
        connect(box, &QComboBox::activated, this, [this] {
            tellUnsaved(ReportViewSettings::savePrinter(CboFormLength->currentData().toDouble(),
                CboCarriage->currentData().toBool()));
            emit printerChosen();
        });
    }
    connect(CboPrinterModel, &QComboBox::activated, this, [this] {
        tellUnsaved(ReportViewSettings::savePrinterModel(PrinterModel(CboPrinterModel->currentData().toInt())));
        emit printerChosen();
    });
}

void ReportColorPanel::buildFormChoice(QGridLayout *grid)
{
    // The forms the printed sheets lie on, stored with the view's settings.
    CmdForm = new QPushButton(tr("Form..."), this);
    CmdForm->setObjectName(QStringLiteral("CmdForm"));
    CmdForm->setToolTip(tr("Lay a PDF page or an image under the printed sheets, as pre-printed paper"));
    grid->addWidget(CmdForm, SwatchCount + 8, 0, 1, 3, Qt::AlignLeft);
    connect(CmdForm, &QPushButton::clicked, this, [this] {
        FormChoiceDialog dialog(ReportViewSettings::read().forms, window());
        if (dialog.exec() != QDialog::Accepted)
            return;
        tellUnsaved(ReportViewSettings::saveForms(dialog.choice()));
        emit formsChosen();
    });
}

QString ReportColorPanel::printedToolTip()
{
    return tr("Show the pages as the printer prints them: sheets, pictures and columns");
}

void ReportColorPanel::refresh()
{
    showColors();
    showMarks();
    showCodePage();
    ChkPrinted->setChecked(m_document.printedLook());
    const ReportViewSettings s = ReportViewSettings::read();
    int form = CboFormLength->findData(s.formLengthInches);
    if (form < 0) { // a length stored by hand stays on offer
        CboFormLength->addItem(tr("%1 in form").arg(s.formLengthInches), s.formLengthInches);
        form = CboFormLength->count() - 1;
    }
    CboFormLength->setCurrentIndex(form);
    CboCarriage->setCurrentIndex(s.wideCarriage ? 0 : 1);
    CboPrinterModel->setCurrentIndex(qMax(0, CboPrinterModel->findData(int(s.printerModel))));
}

QColor ReportColorPanel::swatchColor(const ReportDocument &document, int index)
{
    switch (index) {
    case Dubble:
        return document.markup().doubleWidth;
    case Bold:
        return document.markup().bold;
    case Normal:
        return Qt::black;
    case Condence:
        return document.markup().condensed;
    case ReportBack:
        return document.paperColor();
    case SearchString:
        return document.searchMark().colour;
    case Highlight:
        return document.highlightMark().colour;
    default:
        return QColor();
    }
}

QColor ReportColorPanel::swatchColor(int index) const
{
    return swatchColor(m_document, index);
}

void ReportColorPanel::showColors()
{
    for (int i = 0; i < SwatchCount; ++i) {
        const QColor color = swatchColor(i);
        QPalette p = TXt[i]->palette();
        p.setColor(QPalette::Base, color);
        TXt[i]->setPalette(p);
        // The samples of the text colours in their colour.
        if (i != ReportBack && i != SearchString)
            setTextColor(Lb[i], color);
    }
}

void ReportColorPanel::showMarks()
{
    const QSignalBlocker search(ChSearch);
    const QSignalBlocker highlight(ChHighlighte);
    const QSignalBlocker line(ChL);
    ChSearch->setChecked(m_document.searchMark().bold);
    ChHighlighte->setChecked(m_document.highlightMark().bold);
    ChL->setChecked(m_document.extraLine());
}

void ReportColorPanel::showCodePage()
{
    const int index = CboCodePage->findData(int(m_document.codePage()));
    CboCodePage->setCurrentIndex(qMax(0, index));
}

void ReportColorPanel::setSwatchColor(int index, const QColor &color)
{
    const MarkupContext &markup = m_document.markup();
    switch (index) {
    case Dubble:
        m_document.setEmphasisColors(color, markup.bold, markup.condensed);
        break;
    case Bold:
        m_document.setEmphasisColors(markup.doubleWidth, color, markup.condensed);
        break;
    case Condence:
        m_document.setEmphasisColors(markup.doubleWidth, markup.bold, color);
        break;
    case ReportBack:
        m_document.setPaperColor(color);
        break;
    case SearchString:
        m_document.setSearchMark({color, m_document.searchMark().bold});
        break;
    case Highlight:
        m_document.setHighlightMark({color, m_document.highlightMark().bold});
        break;
    default:
        break; // "Normal" text stays black
    }
}

bool ReportColorPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Space or Enter on a swatch chooses its colour as a double-click does.
    const auto *key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
    if (event->type() == QEvent::MouseButtonDblClick
        || (key && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))) {
        for (int i = 0; i < SwatchCount; ++i) {
            if (watched == TXt[i]) {
                chooseColor(i);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void ReportColorPanel::chooseColor(int index)
{
    // A cancelled dialog leaves the swatch and the stored colours alone.
    const QColor chosen = Dialogs::color(window(), swatchColor(index));
    if (!chosen.isValid())
        return;
    setSwatchColor(index, chosen);
    if (swatchColor(index) != chosen)
        return; // given up by the view while it read its page in the colour
    saveColors();
}

void ReportColorPanel::tellUnsaved(bool saved)
{
    m_unsaved.tell(this, saved);
}

void ReportColorPanel::saveColors()
{
    ReportViewSettings s;
    s.doubleWidth = swatchColor(Dubble);
    s.bold = swatchColor(Bold);
    s.condensed = swatchColor(Condence);
    s.reportBack = swatchColor(ReportBack);
    s.searchString = swatchColor(SearchString);
    s.highlight = swatchColor(Highlight);
    s.searchBold = m_document.searchMark().bold;
    tellUnsaved(s.saveColors());
}

void ReportColorPanel::showModelTaken(PrinterModel chosen, PrinterModel taken, bool shown)
{
    // Auto says what it took; a chosen model needs no word.
    LbModelTaken->setText(shown && chosen == PrinterModel::Auto && taken != PrinterModel::Auto
            ? tr("Read as: %1").arg(PrinterModels::title(taken))
            : QString());
}
