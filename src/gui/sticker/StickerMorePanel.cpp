#include "gui/sticker/StickerMorePanel.h"

#include "gui/platform/Dialogs.h"
#include "platform/NumericText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

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
    : QGroupBox(QStringLiteral("More"), parent)
    , m_digits(numberBox(QStringLiteral("TxDigits"), StickerInput::MaxDigits,
          QStringLiteral("Running numbers padded with zeros to this many digits (0: as they are)."), this))
    , m_startAt(numberBox(QStringLiteral("TxStartAt"), 32767,
          QStringLiteral("Windows mode: the first free sticker of a part-used sheet, counted across the "
                         "rows from 1."),
          this))
    , m_barcode(new QComboBox(this))
    , m_codePage(new QComboBox(this))
    , m_dataFile(new QLineEdit(this))
    , m_browse(new QPushButton(QStringLiteral("..."), this))
{
    setObjectName(QStringLiteral("FrameMore"));
    m_barcode->setObjectName(QStringLiteral("CboBarcode"));
    m_barcode->addItems({QStringLiteral("None"), QStringLiteral("Code 128"), QStringLiteral("Code 39"),
        QStringLiteral("EAN-13"), QStringLiteral("QR")});
    m_barcode->setToolTip(QStringLiteral(
        "Windows mode: the line with the running number drawn as this barcode, sized to the sticker."));
    m_codePage->setObjectName(QStringLiteral("CboSheetCodePage"));
    for (const CodePage::Id id : CodePage::all())
        m_codePage->addItem(CodePage::label(id), int(id));
    m_codePage->setToolTip(QStringLiteral(
        "Character mode: the printer's code page, the bytes the sheet's letters are written as."));
    m_dataFile->setObjectName(QStringLiteral("TxDataFile"));
    m_dataFile->setToolTip(QStringLiteral(
        "A CSV file whose first row names the columns: each row makes one sticker, and {Column} in a "
        "line takes the row's value. Empty: every sticker alike."));
    m_browse->setObjectName(QStringLiteral("CmdDataFile"));
    m_browse->setToolTip(QStringLiteral("Choose the CSV file."));
    m_browse->setFixedWidth(m_browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);

    auto *file = new QHBoxLayout;
    file->setContentsMargins(0, 0, 0, 0);
    file->addWidget(m_dataFile);
    file->addWidget(m_browse);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Digits"), m_digits);
    form->addRow(QStringLiteral("Start at sticker"), m_startAt);
    form->addRow(QStringLiteral("Barcode"), m_barcode);
    form->addRow(QStringLiteral("Code page"), m_codePage);
    form->addRow(QStringLiteral("Data file"), file);
    connect(m_browse, &QPushButton::clicked, this, &StickerMorePanel::chooseDataFile);
    showInput(StickerInput());
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
}

void StickerMorePanel::chooseDataFile()
{
    const QString name = Dialogs::openFileName(this, QStringLiteral("Sticker Data"),
        QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*"), m_dataFile->text());
    if (!name.isEmpty())
        m_dataFile->setText(name);
}
