#pragma once

#include "delivery/MailSender.h"

class QFile;

// The mail's GMime (and GLib) side, in the library module: the engine's
// sendMail reaches it through MailLibrary.
namespace MimeMessage {

// Builds the message and writes it to `out`; false with the cause.
bool writeMessage(const MailRequest &request, QFile &out, QString *error);

// The command's words as a shell splits them (quotes, backslashes); false
// with the cause when it is empty or cannot be read.
bool splitCommand(const QString &text, QStringList *words, QString *error);

} // namespace MimeMessage
