// Mail through a real transport: msmtp, run as the sendmail command, hands
// each message to an SMTP server this test starts on a free loopback port;
// the server saves what it accepts and refuses recipients named refused-*.
// Each message is read back by Python's email parser, not by GMime, which
// built it.
#include "ExportReaders.h"
#include "TestSupport.h"
#include "delivery/MailSender.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

namespace {

const char *const Python = "/usr/bin/python3";

// Prints its port, then saves every message it accepts as NNNN.eml.
const char ServerScript[] = R"(
import asyncio, os, sys
from aiosmtpd.smtp import SMTP
out = sys.argv[1]
class Handler:
    async def handle_RCPT(self, server, session, envelope, address, options):
        if address.startswith('refused'):
            return '550 5.1.1 no such mailbox here'
        envelope.rcpt_tos.append(address)
        return '250 OK'
    async def handle_DATA(self, server, session, envelope):
        n = len([f for f in os.listdir(out) if f.endswith('.eml')])
        path = os.path.join(out, '%04d.eml' % n)
        with open(path + '.part', 'wb') as f:
            f.write(envelope.original_content)
        os.rename(path + '.part', path)
        return '250 Message accepted'
async def main():
    server = await asyncio.get_running_loop().create_server(lambda: SMTP(Handler()), '127.0.0.1', 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()
asyncio.run(main())
)";

} // namespace

class MailSenderTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    int m_port = 0;

    QString mailbox() const { return m_dir.filePath("mailbox"); }

    QStringList messages() const
    {
        return QDir(mailbox()).entryList({"*.eml"}, QDir::Files, QDir::Name);
    }

    // msmtp with a configuration of this test's own.
    QString msmtpCommand() const
    {
        const QString config = TestSupport::writeFile(m_dir.filePath("msmtprc"),
            QStringLiteral("defaults\nauth off\ntls off\nlogfile -\naccount test\nhost 127.0.0.1\nport %1\n"
                           "from printroom@example.com\naccount default : test\n")
                .arg(m_port)
                .toUtf8());
        QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner);
        return QStringLiteral("msmtp -C '%1' -t -i").arg(config);
    }

private slots:
    void initTestCase()
    {
        TestSupport::init();
        QVERIFY(m_dir.isValid());
        if (QStandardPaths::findExecutable("msmtp").isEmpty())
            QSKIP("msmtp is not installed (Debian package msmtp)");
        QProcess check;
        check.start(Python, {"-c", "import aiosmtpd"});
        if (!check.waitForFinished(30000) || check.exitCode() != 0)
            QSKIP("the SMTP server for the test is not installed (Debian package python3-aiosmtpd)");
        QDir().mkpath(mailbox());
        m_server.start(Python, {"-c", ServerScript, mailbox()});
        QVERIFY(m_server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_server.canReadLine(), 30000);
        m_port = m_server.readLine().trimmed().toInt();
        QVERIFY(m_port > 0);
    }

    void cleanupTestCase()
    {
        m_server.kill();
        m_server.waitForFinished(3000);
    }

    // The PDF arrives byte for byte, under its name, with subject and text
    // as written; binary content of every byte value and a name and subject
    // beyond ASCII travel unchanged.
    void sendsThePdfAttached_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subject");
        QByteArray everyByte = "%PDF-1.4\n";
        for (int i = 0; i < 256 * 64; ++i)
            everyByte += char(i % 256);
        QTest::newRow("binary") << everyByte << "2026-12-07_REI1042.pdf" << "Invoice REI1042";
        QTest::newRow("umlauts") << QByteArray("%PDF-1.7\r\n%\xe2\xe3\xcf\xd3\r\n") << u"Rechnung Müller.pdf"_qs
                                 << u"Rechnung für Müller – März"_qs;
        QTest::newRow("empty file") << QByteArray() << "empty.pdf" << "nothing in it";
        QByteArray large(3 << 20, '\0');
        for (int i = 0; i < large.size(); ++i)
            large[i] = char((i * 7919) >> 3);
        QTest::newRow("3 MB") << large << "large.pdf" << "a large job";
    }

    void sendsThePdfAttached()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(QString, name);
        QFETCH(QString, subject);
        const QStringList before = messages();
        MailRequest request;
        request.sendmail = msmtpCommand();
        request.from = "printroom@example.com";
        request.to = {"accounts@example.com", "anna@localhost"};
        request.toNames = {u"Müller, Jan"_qs, QString()}; // (a name had been dropped)
        request.subject = subject;
        request.body = u"The job's PDF – attached.\n"_qs;
        request.attachmentPath = TestSupport::writeFile(m_dir.filePath("job.pdf"), pdf);
        request.attachmentName = name;
        QString error;
        QVERIFY2(sendMail(request, &error), qPrintable(error));
        QTRY_COMPARE_WITH_TIMEOUT(messages().size(), before.size() + 1, 10000);

        const QJsonObject mail = ExportReaders::readMail(QDir(mailbox()).filePath(messages().constLast()));
        QCOMPARE(mail["from"].toString(), "printroom@example.com");
        QCOMPARE(mail["to"].toString(), u"\"Müller, Jan\" <accounts@example.com>, anna@localhost"_qs);
        QCOMPARE(mail["subject"].toString(), subject);
        QVERIFY(!mail["date"].toString().isEmpty());
        QCOMPARE(mail["body"].toString().trimmed(), request.body.trimmed());
        const QJsonArray attachments = mail["attachments"].toArray();
        QCOMPARE(attachments.size(), 1);
        QCOMPARE(attachments[0]["name"].toString(), name);
        QCOMPARE(attachments[0]["type"].toString(), "application/pdf");
        QVERIFY(QByteArray::fromBase64(attachments[0]["data"].toString().toLatin1()) == pdf);
    }

    // While the transport reads the message, no file of it lies in the
    // temporary folder: a watch killed then left the PDF behind in /tmp.
    void messageHasNoFileName()
    {
        const QString copy = m_dir.filePath("read.eml");
        MailRequest request;
        request.sendmail = QStringLiteral("sh -c 'cat > \"$0\"; ! ls -a \"$1\" | grep -q sticker2-mail' %1 %2")
                               .arg(copy, QDir::tempPath());
        request.to = {"accounts@example.com"};
        request.subject = "nameless";
        request.attachmentPath = TestSupport::writeFile(m_dir.filePath("n.pdf"), "%PDF-1.4\n");
        QString error;
        QVERIFY2(sendMail(request, &error), qPrintable(error));
        QVERIFY(TestSupport::readFile(copy).contains("Subject: nameless"));
    }

    // Mails sent side by side: each transport holds its own message and no
    // other (the message's copy for writing had been inherited, another
    // customer's PDF in it).
    void sideBySideTransportsHoldTheirOwnMessage()
    {
        const QByteArray large((4 << 20), 'x');
        const QString attachment = TestSupport::writeFile(m_dir.filePath("large.pdf"), "%PDF-1.4\n" + large);
        constexpr int Mails = 6;
        QVector<QString> seen(Mails), errors(Mails);
        QVector<bool> sent(Mails, false);
        std::vector<std::thread> senders;
        for (int i = 0; i < Mails; ++i) {
            senders.emplace_back([&, i] {
                MailRequest request;
                // The messages the transport's shell holds open: files
                // without a name.
                request.sendmail = QStringLiteral("sh -c 'for f in /proc/$$/fd/*; do readlink \"$f\"; done | grep -c "
                                                  "\"(deleted)$\" > \"$0\"; cat > /dev/null' %1")
                                       .arg(m_dir.filePath(QStringLiteral("fds-%1").arg(i)));
                request.to = {"accounts@example.com"};
                request.subject = "side by side";
                request.attachmentPath = attachment;
                sent[i] = sendMail(request, &errors[i]);
            });
        }
        for (std::thread &sender : senders)
            sender.join();
        for (int i = 0; i < Mails; ++i) {
            QVERIFY2(sent[i], qPrintable(errors[i]));
            QCOMPARE(TestSupport::readFile(m_dir.filePath(QStringLiteral("fds-%1").arg(i))).trimmed(), QByteArray("1"));
        }
    }

    // A subject or a recipient's name taken from a job's text cannot add a
    // header of its own, and reaches the reader as the job has it, also when
    // it looks like MIME's encoded words (which had been shown decoded).
    void headersAsTheJobHasThem_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shownSubject");
        QTest::addColumn<QString>("shownTo");
        QTest::newRow("line breaks") << "Invoice\r\nBcc: thief@example.com\nX-Injected: yes" << QString()
                                     << "Invoice Bcc: thief@example.com X-Injected: yes" << "accounts@example.com";
        const QString word = "=?utf-8?b?eA0KQmNjOiB2QGV2aWwuY29tDQo=?="; // "x\r\nBcc: v@evil.com\r\n"
        QTest::newRow("encoded words") << "Rechnung " + word << word << "Rechnung " + word
                                       << word + " <accounts@example.com>";
        const QString longer = u"Rechnung für =?iso-8859-1?q?M=FCller?= und Söhne, Nr. 1042, Lieferung vom 7. Dezember"_qs;
        QTest::newRow("long, with letters past ASCII") << longer << longer << longer
                                                       << "\"" + longer + "\" <accounts@example.com>";
        // A field that fills the subject with a page's worth (GMime's own
        // encoded words had run to 116 characters, past the 75 allowed).
        const QString frame = QString(QChar(0x252c)) + QChar(0xfc); // as cp850 reads bytes of UTF-8
        QTest::newRow("300 letters past ASCII") << frame.repeated(150) << QString() << frame.repeated(150)
                                                << "accounts@example.com";
        const QString oneWord(1500, 'x');
        QTest::newRow("one word of 1,500 letters") << oneWord << QString() << oneWord << "accounts@example.com";
    }
    void headersAsTheJobHasThem()
    {
        QFETCH(QString, subject);
        QFETCH(QString, name);
        QFETCH(QString, shownSubject);
        QFETCH(QString, shownTo);
        const QStringList before = messages();
        MailRequest request;
        request.sendmail = msmtpCommand();
        request.to = {"accounts@example.com"};
        request.toNames = {name};
        request.subject = subject;
        request.body = "text only";
        QString error;
        QVERIFY2(sendMail(request, &error), qPrintable(error));
        QTRY_COMPARE_WITH_TIMEOUT(messages().size(), before.size() + 1, 10000);
        const QString path = QDir(mailbox()).filePath(messages().constLast());
        const QByteArray raw = TestSupport::readFile(path);
        QVERIFY(!raw.contains("\nBcc:"));
        QVERIFY(!raw.contains("\nX-Injected:"));
        // Encoded words of at most 75 characters (mail readers show longer ones
        // raw), header lines of at most 998.
        const qsizetype headEnd = raw.indexOf("\r\n\r\n");
        const QByteArray head = headEnd < 0 ? raw : raw.first(headEnd);
        QRegularExpressionMatchIterator words
            = QRegularExpression("=\\?[^?]+\\?[BbQq]\\?[^?]*\\?=").globalMatch(QString::fromLatin1(head));
        while (words.hasNext()) {
            const QString encoded = words.next().captured();
            QVERIFY2(encoded.size() <= 75, qPrintable(encoded));
        }
        for (const QByteArray &line : head.split('\n'))
            QVERIFY2(line.trimmed().size() <= 998, line.constData());
        const QJsonObject mail = ExportReaders::readMail(path);
        QCOMPARE(mail["subject"].toString(), shownSubject);
        // (Python's reader adds a blank between encoded words in a name,
        // which mail readers drop.)
        QCOMPARE(mail["to"].toString().simplified(), shownTo);
    }

    // Mail that does not go out is an error naming the command and the
    // cause, never a success; nothing reaches the server.
    void refusedMailIsAnError_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("to");
        QTest::addColumn<QString>("attachment");
        QTest::addColumn<QStringList>("errorHas");
        QTest::newRow("recipient refused") << QString() << QStringList {"refused-anna@example.com"} << QString()
                                           << QStringList {"status", "no such mailbox here", "msmtp"};
        QTest::newRow("no server") << "msmtp --host=127.0.0.1 --port=1 --from=a@example.com -t -i"
                                   << QStringList {"accounts@example.com"} << QString()
                                   << QStringList {"status", "msmtp", "--port=1"};
        QTest::newRow("no such program") << "/nonexistent/sendmail -t -i" << QStringList {"accounts@example.com"}
                                         << QString() << QStringList {"/nonexistent/sendmail", "cannot run"};
        QTest::newRow("exit status") << "sh -c 'echo queue is full >&2; exit 75'"
                                     << QStringList {"accounts@example.com"} << QString()
                                     << QStringList {"status 75", "queue is full"};
        // Status 0 without reading the mail (or not all of it) is no mail sent.
        QTest::newRow("not read") << "/bin/true" << QStringList {"accounts@example.com"} << QString()
                                  << QStringList {"ended without reading the whole mail (0 of "};
        QTest::newRow("read in part") << "sh -c 'head -c 100 > /dev/null'" << QStringList {"accounts@example.com"}
                                      << "big.pdf" << QStringList {"without reading the whole mail"};
        TestSupport::writeFile(m_dir.filePath("big.pdf"), "%PDF-1.4\n" + QByteArray(1 << 20, 'x'));
        QTest::newRow("signal") << "sh -c 'kill -KILL $$'" << QStringList {"accounts@example.com"} << QString()
                                << QStringList {"signal"};
        QTest::newRow("not an address") << QString() << QStringList {"accounts@example.com", "Anna <anna@x>"}
                                        << QString() << QStringList {"Anna <anna@x>", "not a mail address"};
        QTest::newRow("no address") << QString() << QStringList() << QString() << QStringList {"no address"};
        QTest::newRow("missing attachment") << QString() << QStringList {"accounts@example.com"}
                                            << "missing.pdf" << QStringList {"missing.pdf", "No such file"};
        QTest::newRow("attachment is a folder") << QString() << QStringList {"accounts@example.com"} << "."
                                                << QStringList {"not a regular file"};
        QTest::newRow("empty command") << " " << QStringList {"accounts@example.com"} << QString()
                                       << QStringList {"no sendmail command"};
        QTest::newRow("unbalanced quote") << "msmtp -C 'x" << QStringList {"accounts@example.com"} << QString()
                                          << QStringList {"cannot be read", "msmtp -C 'x"};
    }

    void refusedMailIsAnError()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, to);
        QFETCH(QString, attachment);
        QFETCH(QStringList, errorHas);
        const QStringList before = messages();
        MailRequest request;
        request.sendmail = command.isNull() ? msmtpCommand() : command;
        request.to = to;
        request.subject = "refused";
        request.attachmentPath = attachment.isEmpty() ? QString() : m_dir.filePath(attachment);
        QString error;
        QVERIFY(!sendMail(request, &error));
        for (const QString &part : errorHas)
            QVERIFY2(error.contains(part), qPrintable(error));
        QVERIFY(!error.contains('\n'));
        QTest::qWait(200);
        QCOMPARE(messages(), before);
    }

    void recognisesAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("address");
        QTest::newRow("plain") << "accounts@example.com" << true;
        QTest::newRow("local host") << "anna@localhost" << true;
        QTest::newRow("dots and plus") << "first.last+invoices@mail.example.co.uk" << true;
        QTest::newRow("hyphen in host") << "a@my-office.example" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("no at") << "accounts.example.com" << false;
        QTest::newRow("two ats") << "a@b@example.com" << false;
        QTest::newRow("no local part") << "@example.com" << false;
        QTest::newRow("no host") << "anna@" << false;
        QTest::newRow("display name") << "Anna <anna@example.com>" << false;
        QTest::newRow("space") << "anna @example.com" << false;
        QTest::newRow("line break") << "anna@example.com\nBcc: x@y" << false;
        QTest::newRow("leading dot") << ".anna@example.com" << false;
        QTest::newRow("double dot") << "an..na@example.com" << false;
        QTest::newRow("host ends in hyphen") << "anna@example-.com" << false;
        QTest::newRow("empty label") << "anna@example..com" << false;
        QTest::newRow("option") << "-oQ/tmp@example.com" << true; // read from the headers, never an argument
        QTest::newRow("comma list") << "a@example.com,b@example.com" << false;
        QTest::newRow("local part of 65") << QString(65, 'a') + "@example.com" << false;
        QTest::newRow("local part of 64") << QString(64, 'a') + "@example.com" << true;
        QTest::newRow("255 bytes") << "a@" + QString(63, 'b') + "." + QString(63, 'c') + "." + QString(63, 'd') + "."
                + QString(61, 'e')
                                   << false;
    }

    void recognisesAddresses()
    {
        QFETCH(QString, text);
        QFETCH(bool, address);
        QCOMPARE(isMailAddress(text), address);
    }
};

QTEST_GUILESS_MAIN(MailSenderTest)
#include "tst_mailsender.moc"
