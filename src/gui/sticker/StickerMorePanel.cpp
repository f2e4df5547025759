#include "gui/sticker/StickerMorePanel.h"

#include "gui/platform/Dialogs.h"
#include "platform/NumericText.h"
#include "sticker/CsvTable.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QToolButton>

namespace {

// The barcode list in the order of BarcodeKind.
const BarcodeKind Kinds[] = {BarcodeKind::None, BarcodeKind::Code128, BarcodeKind::Code39, BarcodeKind::Ean13,
    BarcodeKind::Qr};

QLineEdit *numberBox(const QString &name, int top, const QString &tip, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setValidator(new QIntValidator(0, top, box));
    box->setToolTip(tip);
    return box;
}

} // namespace

StickerMorePanel::StickerMorePanel(QWidget *parent)
    : QGroupBox(tr("More"), parent)
    , m_digits(numberBox(QStringLiteral("TxDigits"), StickerInput::MaxDigits,
          tr("Running numbers padded with zeros to this many digits (0: as they are)."), this))
    , m_startAt(numberBox(QStringLiteral("TxStartAt"), 32767,
          tr("Windows mode: the first free sticker of a part-used sheet, counted across the "
                         "rows from 1."),
          this))
    , m_barcode(new QComboBox(this))
    , m_codePage(new QComboBox(this))
    , m_dataFile(new QLineEdit(this))
    , m_browse(new QToolButton(this))
    , m_delimiter(new QComboBox(this))
    , m_encoding(new QComboBox(this))
{
    setObjectName(QStringLiteral("FrameMore"));
    m_barcode->setObjectName(QStringLiteral("CboBarcode"));
    m_barcode->addItems({tr("None"), QStringLiteral("Code 128"), QStringLiteral("Code 39"),
        QStringLiteral("EAN-13"), QStringLiteral("QR")});
    m_barcode->setToolTip(tr(
        "Windows mode: the line with the running number drawn as this barcode, sized to the sticker."));
    m_codePage->setObjectName(QStringLiteral("CboSheetCodePage"));
    for (const CodePage::Id id : CodePage::all())
        m_codePage->addItem(CodePage::label(id), int(id));
    m_codePage->setToolTip(tr(
        "Character mode: the printer's code page, the bytes the sheet's letters are written as."));
    m_dataFile->setObjectName(QStringLiteral("TxDataFile"));
    m_dataFile->setToolTip(tr(
        "A CSV file whose first row names the columns: each row makes one sticker, and {Column} in a "
        "line takes the row's value. Empty: every sticker alike."));
    m_browse->setObjectName(QStringLiteral("CmdDataFile"));
    m_browse->setToolTip(tr("Choose the CSV file."));
    m_browse->setText(QStringLiteral("..."));
    m_browse->setAccessibleName(tr("Choose the data file"));

    m_delimiter->setObjectName(QStringLiteral("CboDelimiter"));
    m_delimiter->addItem(tr("From the header"));
    m_delimiter->addItem(tr("Comma"), QStringLiteral(","));
    m_delimiter->addItem(tr("Semicolon"), QStringLiteral(";"));
    m_delimiter->addItem(tr("Tab"), QStringLiteral("\t"));
    m_delimiter->setToolTip(tr("What separates the data file's fields."));
    m_encoding->setObjectName(QStringLiteral("CboDataEncoding"));
    m_encoding->addItem(tr("From the file"));
    for (const QString &name : CsvTable::encodingNames())
        m_encoding->addItem(name, name);
    m_encoding->setToolTip(tr(
        "The data file's encoding. From the file: UTF-8, else Windows-1252; a byte-order mark always decides."));

    auto *file = new QHBoxLayout;
    file->setContentsMargins(0, 0, 0, 0);
    file->addWidget(m_dataFile);
    file->addWidget(m_browse);
    auto *form = new QFormLayout(this);
    // Never narrower than its labels and boxes need in the font it has.
    form->setSizeConstraint(QLayout::SetMinimumSize);
    form->addRow(tr("Digits"), m_digits);
    form->addRow(tr("Start at sticker"), m_startAt);
    form->addRow(tr("Barcode"), m_barcode);
    form->addRow(tr("Code page"), m_codePage);
    form->addRow(tr("Data file"), file);
    m_dataFile->setAccessibleName(tr("Data file"));
    form->addRow(tr("Delimiter"), m_delimiter);
    form->addRow(tr("Encoding"), m_encoding);
    connect(m_browse, &QToolButton::clicked, this, &StickerMorePanel::chooseDataFile);
    showInput(StickerInput());
}

QString StickerMorePanel::problem() const
{
    const QString digits = m_digits->text().trimmed();
    bool whole = false;
    const int n = digits.toInt(&whole);
    if (!digits.isEmpty() && (!whole || n < 0 || n > StickerInput::MaxDigits))
        return tr("\"Digits\" must be a number from 0 to %1.").arg(StickerInput::MaxDigits);
    return QString();
}

void StickerMorePanel::read(StickerInput &input) const
{
    const double digits = NumericText::leadingNumber(m_digits->text());
    input.digits = digits >= 0 && digits <= StickerInput::MaxDigits ? int(digits) : input.digits;
    const double start = NumericText::leadingNumber(m_startAt->text());
    input.startAt = start >= 1 ? int(start) : 1;
    input.barcode = Kinds[qBound(0, m_barcode->currentIndex(), 4)];
    if (m_codePage->currentIndex() >= 0)
        input.sheetCodePage = CodePage::Id(m_codePage->currentData().toInt());
    input.dataFile = m_dataFile->text().trimmed();
    const QString delimiter = m_delimiter->currentData().toString();
    input.dataDelimiter = delimiter.isEmpty() ? QChar() : delimiter.at(0);
    input.dataEncoding = m_encoding->currentData().toString();
}

void StickerMorePanel::showInput(const StickerInput &input)
{
    m_digits->setText(QString::number(input.digits));
    m_startAt->setText(QString::number(input.startAt));
    for (int i = 0; i < 5; ++i) {
        if (Kinds[i] == input.barcode)
            m_barcode->setCurrentIndex(i);
    }
    m_codePage->setCurrentIndex(m_codePage->findData(int(input.sheetCodePage)));
    m_dataFile->setText(input.dataFile);
    m_delimiter->setCurrentIndex(qMax(0, m_delimiter->findData(QString(input.dataDelimiter))));
    const int encoding = m_encoding->findData(input.dataEncoding);
    if (encoding < 0 && !input.dataEncoding.isEmpty())
        m_encoding->addItem(input.dataEncoding, input.dataEncoding); // a name given elsewhere
    m_encoding->setCurrentIndex(qMax(0, m_encoding->findData(input.dataEncoding)));
}

void StickerMorePanel::chooseDataFile()
{
    const QString name = Dialogs::openFileName(this, tr("Sticker Data"),
        tr("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*"), m_dataFile->text());
    if (!name.isEmpty())
        m_dataFile->setText(name);
}
