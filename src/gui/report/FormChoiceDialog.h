#pragma once

#include "form/FormChoice.h"

#include <QDialog>

class QDoubleSpinBox;
class QLineEdit;

// "Form...": the forms under the printed look's sheets, one for the first
// sheet and one for the sheets after it (a PDF, FILE#page=N for another page
// than its first, or a PNG or JPEG image), and their offset in millimetres.
// OK reads the forms and refuses one that cannot be used, naming the file
// and the cause; "Clear" empties both.
class FormChoiceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FormChoiceDialog(const FormChoice &choice, QWidget *parent = nullptr);

    FormChoice choice() const;
    void accept() override;

    QLineEdit *TxtFirst = nullptr;
    QLineEdit *TxtNext = nullptr;
    QDoubleSpinBox *SpinX = nullptr;
    QDoubleSpinBox *SpinY = nullptr;

private:
    void browse(QLineEdit *field);
};
