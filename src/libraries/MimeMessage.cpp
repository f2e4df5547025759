#include "libraries/MimeMessage.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSysInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

// GLib's headers name struct members "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")

namespace {

void initGMime()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

// Releases a GObject at the end of a scope.
template <typename T>
struct Owned
{
    T *object;
    explicit Owned(T *o)
        : object(o)
    { }
    ~Owned()
    {
        if (object)
            g_object_unref(object);
    }
    Owned(const Owned &) = delete;
    Owned &operator=(const Owned &) = delete;
    T *get() const { return object; }
};

// A header value on one line: control characters (a line break found in a
// job's text) become spaces, so no value can start a header of its own.
QByteArray headerText(const QString &text)
{
    QString line = text;
    for (QChar &c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    return line.simplified().toUtf8();
}

// Text a reader would take for MIME's encoded words ("=?utf-8?b?...?=") is
// written encoded whole, in words of at most 45 bytes cut after a blank
// where one is near (the blank inside the word: a reader drops the space
// between two encoded words), else between characters, so the reader shows
// it as the job has it: GMime writes such
// words as they stand, and a job's "=?utf-8?b?...?=" had reached the reader
// decoded, line breaks and all.
bool looksEncoded(const QByteArray &utf8)
{
    return utf8.contains("=?");
}

// Whether a header value must be written as encoded words of our own: one
// that looks encoded already, or that GMime would encode or could not fold
// (letters past ASCII, a word longer than a line): GMime's own words for a
// long subject run past the 75 characters an encoded word may have.
bool needsOwnWords(const QByteArray &utf8)
{
    if (looksEncoded(utf8))
        return true;
    qsizetype word = 0;
    for (const char c : utf8) {
        if (uchar(c) >= 0x80)
            return true;
        word = c == ' ' ? 0 : word + 1;
        if (word > 70)
            return true;
    }
    return false;
}

QByteArray encodedWords(const QByteArray &utf8)
{
    QByteArrayList words;
    for (qsizetype at = 0; at < utf8.size();) {
        qsizetype end = qMin(at + 45, utf8.size());
        const qsizetype blank = end < utf8.size() ? utf8.lastIndexOf(' ', end - 1) : -1;
        if (blank > at)
            end = blank + 1;
        while (end < utf8.size() && end > at + 1 && (uchar(utf8.at(end)) & 0xC0) == 0x80)
            --end;
        words << "=?UTF-8?B?" + utf8.mid(at, end - at).toBase64() + "?=";
        at = end;
    }
    return words.join("\n ");
}

// Sets a header's value as it is to be written (folded, encoded).
void setRawHeader(GMimeMessage *message, const char *name, const QByteArray &value)
{
    GMimeHeader *header = g_mime_header_list_get_header(g_mime_object_get_header_list(GMIME_OBJECT(message)), name);
    if (header)
        g_mime_header_set_raw_value(header, (" " + value + "\n").constData());
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// The attachment as a MIME part, read from an open regular file.
GMimePart *attachmentPart(const MailRequest &request, QString *error)
{
    const QByteArray path = QFile::encodeName(request.attachmentPath);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st = {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = fd < 0 ? errno : EINVAL;
        if (fd >= 0)
            ::close(fd);
        *error = QStringLiteral("%1: cannot attach it: %2")
                     .arg(request.attachmentPath, code == EINVAL ? QStringLiteral("not a regular file") : systemError(code));
        return nullptr;
    }
    const QString name = request.attachmentName.isEmpty() ? QFileInfo(request.attachmentPath).fileName()
                                                           : request.attachmentName;
    const QStringList type = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().split('/');
    GMimePart *part = g_mime_part_new_with_type(type.value(0).toUtf8().constData(), type.value(1).toUtf8().constData());
    GMimeStream *stream = g_mime_stream_fs_new(fd); // owns fd
    GMimeDataWrapper *content = g_mime_data_wrapper_new_with_stream(stream, GMIME_CONTENT_ENCODING_DEFAULT);
    g_object_unref(stream);
    g_mime_part_set_content(part, content);
    g_object_unref(content);
    g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
    g_mime_part_set_filename(part, headerText(name).constData());
    return part;
}

} // namespace

namespace MimeMessage {

// Builds the message and writes it to `out`.
bool writeMessage(const MailRequest &request, QFile &out, QString *error)
{
    initGMime();
    Owned<GMimeMessage> message(g_mime_message_new(FALSE));
    if (!request.from.isEmpty()) {
        const QByteArray name = request.fromName.simplified().toUtf8();
        const QByteArray address = request.from.toUtf8();
        g_mime_message_add_mailbox(message.get(), GMIME_ADDRESS_TYPE_FROM, name.isEmpty() ? nullptr : name.constData(),
            address.constData());
        if (looksEncoded(name))
            setRawHeader(message.get(), "From", encodedWords(name) + " <" + address + '>');
    }
    QByteArrayList recipients; // as written when a name looks encoded
    bool namesLookEncoded = false;
    for (qsizetype i = 0; i < request.to.size(); ++i) {
        const QByteArray name = request.toNames.value(i).simplified().toUtf8();
        const QByteArray address = request.to.at(i).toUtf8();
        g_mime_message_add_mailbox(message.get(), GMIME_ADDRESS_TYPE_TO, name.isEmpty() ? nullptr : name.constData(),
            address.constData());
        namesLookEncoded = namesLookEncoded || looksEncoded(name);
        recipients << (name.isEmpty() ? QByteArray() : encodedWords(name) + ' ') + '<' + address + '>';
    }
    if (namesLookEncoded) // (the addresses are plain: each was checked above)
        setRawHeader(message.get(), "To", recipients.join(",\n "));
    const QByteArray subject = headerText(request.subject);
    g_mime_message_set_subject(message.get(), subject.constData(), "utf-8");
    if (needsOwnWords(subject))
        setRawHeader(message.get(), "Subject", encodedWords(subject));
    GDateTime *now = g_date_time_new_now_local();
    g_mime_message_set_date(message.get(), now);
    g_date_time_unref(now);
    char *id = g_mime_utils_generate_message_id(QSysInfo::machineHostName().toUtf8().constData());
    g_mime_message_set_message_id(message.get(), id);
    g_free(id);

    Owned<GMimeTextPart> body(g_mime_text_part_new_with_subtype("plain"));
    g_mime_text_part_set_text(body.get(), request.body.toUtf8().constData());
    g_mime_part_set_content_encoding(GMIME_PART(body.get()),
        g_mime_part_get_best_content_encoding(GMIME_PART(body.get()), GMIME_ENCODING_CONSTRAINT_7BIT));
    if (request.attachmentPath.isEmpty()) {
        g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(body.get()));
    } else {
        Owned<GMimePart> attachment(attachmentPart(request, error));
        if (!attachment.get())
            return false;
        Owned<GMimeMultipart> mixed(g_mime_multipart_new_with_subtype("mixed"));
        g_mime_multipart_add(mixed.get(), GMIME_OBJECT(body.get()));
        g_mime_multipart_add(mixed.get(), GMIME_OBJECT(attachment.get()));
        g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(mixed.get()));
    }

    // A copy closed on exec: a transport started meanwhile on another
    // thread (the watch mails jobs side by side) must not inherit this
    // message, a customer's PDF in it.
    const int fd = ::fcntl(out.handle(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        *error = QStringLiteral("%1: %2").arg(out.fileName(), systemError(errno));
        return false;
    }
    Owned<GMimeStream> stream(g_mime_stream_fs_new(fd)); // owns the copy of the descriptor
    const bool written = g_mime_object_write_to_stream(GMIME_OBJECT(message.get()), nullptr, stream.get()) >= 0
        && g_mime_stream_flush(stream.get()) == 0;
    if (!written)
        *error = QStringLiteral("cannot write the message to %1: %2").arg(out.fileName(), systemError(errno));
    return written;
}

// The command's words as a shell splits them (quotes, backslashes), by
// GLib's parser: no shell runs, so nothing in it is expanded.
bool splitCommand(const QString &text, QStringList *words, QString *error)
{
    gint count = 0;
    gchar **argv = nullptr;
    GError *parseError = nullptr;
    if (text.trimmed().isEmpty() || !g_shell_parse_argv(text.toUtf8().constData(), &count, &argv, &parseError)) {
        *error = parseError ? QStringLiteral("the sendmail command \"%1\" cannot be read: %2")
                                  .arg(text, QString::fromUtf8(parseError->message))
                            : QStringLiteral("no sendmail command is set");
        if (parseError)
            g_error_free(parseError);
        return false;
    }
    for (gint i = 0; i < count; ++i)
        words->append(QString::fromUtf8(argv[i]));
    g_strfreev(argv);
    return true;
}


} // namespace MimeMessage
