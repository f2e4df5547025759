#pragma once

#include "delivery/MailSender.h"
#include "platform/LibraryModule.h"

class QFile;

// The mail's GMime side, in the library module (see
// platform/LibraryModule.h): src/libraries/MimeMessage.cpp.
struct MailLibrary
{
    static constexpr const char *Entry = "sticker2_mail_library";

    // Writes the message (headers, body, the attachment) to `out`; false
    // with the cause.
    bool (*writeMessage)(const MailRequest &request, QFile &out, QString *error);
    // The sendmail command's words as a shell splits them (GLib's parser);
    // false with the cause.
    bool (*splitCommand)(const QString &text, QStringList *words, QString *error);

    static const MailLibrary *get(QString *error) { return LibraryModule::table<MailLibrary>(Entry, error); }
};
