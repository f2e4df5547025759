// The library module's entries (see platform/LibraryModule.h): one table of
// functions for each subsystem that uses poppler, qpdf or GMime. Only these
// entries are exported; everything else stays inside the module.
#include "delivery/MailLibrary.h"
#include "form/FormLibraries.h"
#include "libraries/MimeMessage.h"
#include "libraries/PopplerForm.h"
#include "libraries/QpdfPasses.h"
#include "libraries/QpdfUnderlay.h"
#include "pdf/QpdfLibrary.h"

extern "C" Q_DECL_EXPORT const QpdfLibrary *sticker2_qpdf_library()
{
    static const QpdfLibrary table {&QpdfPasses::finish};
    return &table;
}

extern "C" Q_DECL_EXPORT const FormLibraries *sticker2_form_libraries()
{
    static const FormLibraries table {&PopplerForm::open, &PopplerForm::render, &PopplerForm::close,
        &QpdfUnderlay::write};
    return &table;
}

extern "C" Q_DECL_EXPORT const MailLibrary *sticker2_mail_library()
{
    static const MailLibrary table {&MimeMessage::writeMessage, &MimeMessage::splitCommand};
    return &table;
}
