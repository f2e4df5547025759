#include "gui/report/FormChoiceDialog.h"

#include "form/FormName.h"
#include "form/SheetForms.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

FormChoiceDialog::FormChoiceDialog(const FormChoice &choice, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormChoiceDialog"));
    setWindowTitle(tr("Forms under the printed sheets"));
    auto *grid = new QGridLayout(this);
    const auto fileRow = [&](int row, const QString &caption, const QString &name, const QString &path) {
        auto *field = new QLineEdit(path, this);
        field->setObjectName(name);
        field->setMinimumWidth(320);
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        auto *browse = new QPushButton(tr("Browse..."), this);
        browse->setObjectName(name + QStringLiteral("Browse"));
        connect(browse, &QPushButton::clicked, this, [this, field] { this->browse(field); });
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, 1, 3);
        grid->addWidget(browse, row, 4);
        return field;
    };
    TxtFirst = fileRow(0, tr("&First sheet:"), QStringLiteral("TxtFirst"), choice.first);
    TxtNext = fileRow(1, tr("&Later sheets:"), QStringLiteral("TxtNext"), choice.next);
    const auto offsetBox = [&](const QString &name, double value) {
        auto *box = new QDoubleSpinBox(this);
        box->setObjectName(name);
        box->setRange(-FormChoice::LargestOffset, FormChoice::LargestOffset);
        box->setDecimals(1);
        box->setSuffix(tr(" mm"));
        box->setValue(value);
        return box;
    };
    SpinX = offsetBox(QStringLiteral("SpinX"), choice.offsetMillimetres.x());
    SpinY = offsetBox(QStringLiteral("SpinY"), choice.offsetMillimetres.y());
    auto *offsetLabel = new QLabel(tr("&Offset right, down:"), this);
    offsetLabel->setBuddy(SpinX);
    grid->addWidget(offsetLabel, 2, 0);
    grid->addWidget(SpinX, 2, 1);
    grid->addWidget(SpinY, 2, 2);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *clear = buttons->addButton(tr("C&lear"), QDialogButtonBox::ResetRole);
    clear->setObjectName(QStringLiteral("CmdClear"));
    connect(clear, &QPushButton::clicked, this, [this] {
        TxtFirst->clear();
        TxtNext->clear();
        SpinX->setValue(0);
        SpinY->setValue(0);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 3, 0, 1, 5);
}

FormChoice FormChoiceDialog::choice() const
{
    // A name typed relative to the folder the program started in is kept
    // whole: the command line, the watch and a later start find it from
    // any folder.
    const auto whole = [](const QString &typed) {
        const QString text = typed.trimmed();
        const FormName name = FormName::of(text);
        if (text.isEmpty() || QFileInfo(name.filePath).isAbsolute())
            return text;
        return QFileInfo(name.filePath).absoluteFilePath() + text.mid(name.filePath.size());
    };
    FormChoice choice;
    choice.first = whole(TxtFirst->text());
    choice.next = whole(TxtNext->text());
    choice.offsetMillimetres = QPointF(SpinX->value(), SpinY->value());
    return choice;
}

void FormChoiceDialog::accept()
{
    SheetForms forms;
    QString error;
    if (!SheetForms::load(choice(), &forms, &error)) {
        MessageBox::show(this, error, windowTitle(), QMessageBox::Warning);
        return;
    }
    QDialog::accept();
}

void FormChoiceDialog::browse(QLineEdit *field)
{
    const QString chosen = Dialogs::openFileName(this, tr("Choose a form"),
        tr("Forms|*.pdf *.png *.jpg *.jpeg|All files|*"),
        field->text().isEmpty() ? QString() : QFileInfo(field->text()).absolutePath());
    if (!chosen.isEmpty())
        field->setText(chosen);
}
