// Delivery into a printing user's own folder, with real users: the test runs
// as root (as in CI), makes a throwaway person and a throwaway service user
// and removes them at the end. The service's case runs this test binary
// again as the service user holding only CAP_SETUID and CAP_SETGID (as its
// unit gives them), through setpriv.
#include "TestSupport.h"
#include "delivery/UserFolder.h"

#include <QProcess>
#include <QScopeGuard>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

struct stat statOf(const QString &path)
{
    struct stat st = {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

uid_t uidOf(const QString &user)
{
    const struct passwd *entry = ::getpwnam(user.toLocal8Bit().constData());
    return entry ? entry->pw_uid : uid_t(-1);
}

} // namespace

class UserFolderTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_person;  // a throwaway person, home in /home
    QString m_service; // a throwaway system user, as the PDF service's own
    QString m_home;

    QString source(const QByteArray &bytes = "%PDF-1.4\nthe job\n%%EOF\n")
    {
        const QString path = TestSupport::writeFile(m_dir.filePath("source.pdf"), bytes);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner); // the service's own file
        return path;
    }

    void needRoot()
    {
        if (::geteuid() != 0)
            QSKIP("needs root: it makes a throwaway local user (useradd) to deliver to");
        if (m_person.isEmpty())
            QSKIP("useradd could not make the throwaway user");
    }

    void clearFolder()
    {
        QProcess::execute("rm", {"-rf", m_home + "/PDF"});
    }

private slots:
    void initTestCase()
    {
        TestSupport::init();
        QVERIFY(m_dir.isValid());
        if (!qEnvironmentVariable("STICKER2_DELIVER_AS_SERVICE").isEmpty() || ::geteuid() != 0)
            return;
        const QString tag = QString::number(QRandomGenerator::global()->bounded(1 << 20), 36);
        m_person = "s2person" + tag;
        m_service = "s2service" + tag;
        if (!run("useradd", {"--create-home", "--shell", "/usr/sbin/nologin", "--user-group", m_person})) {
            m_person.clear();
            return;
        }
        QVERIFY(run("useradd", {"--system", "--no-create-home", "--shell", "/usr/sbin/nologin", "--user-group",
            m_service}));
        m_home = QString::fromLocal8Bit(::getpwnam(m_person.toLocal8Bit().constData())->pw_dir);
        // The service user reads its own output and runs this binary.
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    }

    void cleanupTestCase()
    {
        if (!m_person.isEmpty())
            run("userdel", {"--remove", m_person});
        if (!m_service.isEmpty())
            run("userdel", {m_service});
    }

    void deliversAPrivateCopy()
    {
        needRoot();
        clearFolder();
        QByteArray bytes(1 << 20, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 31 >> 2);
        QString path;
        QString error;
        QVERIFY2(deliverToUser(m_person, source(bytes), "2026-12-07_REI1042.pdf", &path, &error), qPrintable(error));
        QCOMPARE(path, m_home + "/PDF/2026-12-07_REI1042.pdf");
        QCOMPARE(TestSupport::readFile(path), bytes);
        const struct stat file = statOf(path);
        QCOMPARE(file.st_uid, uidOf(m_person));
        QCOMPARE(file.st_mode & 07777, mode_t(0600));
        QVERIFY(S_ISREG(file.st_mode));
        const struct stat folder = statOf(m_home + "/PDF");
        QCOMPARE(folder.st_uid, uidOf(m_person));
        QCOMPARE(folder.st_mode & 07777, mode_t(0700));
        // The same name again: a new file beside it, the first one kept.
        QVERIFY2(deliverToUser(m_person, source("second"), "2026-12-07_REI1042.pdf", &path, &error), qPrintable(error));
        QCOMPARE(path, m_home + "/PDF/2026-12-07_REI1042-2.pdf");
        QCOMPARE(TestSupport::readFile(path), QByteArray("second"));
        QCOMPARE(TestSupport::readFile(m_home + "/PDF/2026-12-07_REI1042.pdf"), bytes);
        // Nothing half-written is left behind.
        QCOMPARE(QDir(m_home + "/PDF").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
    }

    // A domain account's id lies far above UID_MAX (it had been refused as a
    // system user), and a name taken a hundred times still finds a free one
    // (numbering had stopped at -99).
    void domainUserAndManyNames()
    {
        needRoot();
        const QString user = m_person + "d";
        const QString uid = QString::number(1500000 + QRandomGenerator::global()->bounded(100000));
        QVERIFY(run("useradd", {"--create-home", "--shell", "/usr/sbin/nologin", "--uid", uid, "--user-group", user}));
        const auto gone = qScopeGuard([&] { run("userdel", {"--remove", user}); });
        const QString home = QString::fromLocal8Bit(::getpwnam(user.toLocal8Bit().constData())->pw_dir);
        QString path;
        QString error;
        QVERIFY2(deliverToUser(user, source(), "Brief.pdf", &path, &error), qPrintable(error));
        QCOMPARE(path, home + "/PDF/Brief.pdf");
        for (int n = 2; n <= 120; ++n)
            QVERIFY(QFile::copy(path, home + QString("/PDF/Brief-%1.pdf").arg(n)));
        QVERIFY2(deliverToUser(user, source("the 121st"), "Brief.pdf", &path, &error), qPrintable(error));
        QCOMPARE(path, home + "/PDF/Brief-121.pdf");
        QCOMPARE(TestSupport::readFile(path), QByteArray("the 121st"));
    }

    // Links planted by the user (or anyone who could write there) are never
    // written through; the file lands in the real folder or nowhere.
    void plantedLinks_data()
    {
        QTest::addColumn<QString>("plant");
        QTest::addColumn<QString>("delivered"); // empty: refused
        QTest::addColumn<QString>("errorHas");
        QTest::newRow("folder is a link elsewhere") << "folder-link" << QString() << "is a link";
        QTest::newRow("folder is a link to the user's own folder") << "folder-link-own" << QString() << "is a link";
        QTest::newRow("name is a link to a victim file") << "name-link" << "job-2.pdf" << QString();
        QTest::newRow("name is a dangling link") << "name-dangling" << "job-2.pdf" << QString();
        QTest::newRow("folder is a file") << "folder-file" << QString() << "Not a directory";
        QTest::newRow("folder is root's") << "folder-root" << QString() << "is not " ;
        QTest::newRow("home not the user's") << "home-root" << QString() << "home folder";
    }

    void plantedLinks()
    {
        QFETCH(QString, plant);
        QFETCH(QString, delivered);
        QFETCH(QString, errorHas);
        needRoot();
        clearFolder();
        const QString elsewhere = m_dir.filePath("elsewhere");
        QProcess::execute("rm", {"-rf", elsewhere});
        QDir().mkpath(elsewhere);
        ::chmod(QFile::encodeName(elsewhere).constData(), 0777);
        const QString victim = TestSupport::writeFile(elsewhere + "/victim", "keep me");
        const QString pdfFolder = m_home + "/PDF";
        const auto asPerson = [&](const QStringList &command) {
            QVERIFY(run("setpriv", QStringList {"--reuid", m_person, "--regid", m_person, "--clear-groups", "--"}
                + command));
        };
        if (plant == "folder-link")
            asPerson({"ln", "-s", elsewhere, pdfFolder});
        if (plant == "folder-link-own") {
            asPerson({"mkdir", m_home + "/real"});
            asPerson({"ln", "-s", m_home + "/real", pdfFolder});
        }
        if (plant == "name-link" || plant == "name-dangling") {
            asPerson({"mkdir", "-m", "0700", pdfFolder});
            asPerson({"ln", "-s", plant == "name-link" ? victim : elsewhere + "/created", pdfFolder + "/job.pdf"});
        }
        if (plant == "folder-file")
            asPerson({"touch", pdfFolder});
        if (plant == "folder-root")
            QVERIFY(QDir().mkdir(pdfFolder) && ::chmod(QFile::encodeName(pdfFolder).constData(), 0777) == 0);
        if (plant == "home-root")
            QVERIFY(::chown(QFile::encodeName(m_home).constData(), 0, 0) == 0);

        QString path;
        QString error;
        const bool ok = deliverToUser(m_person, source(), "job.pdf", &path, &error);
        if (plant == "home-root")
            ::chown(QFile::encodeName(m_home).constData(), uidOf(m_person), uidOf(m_person));
        QCOMPARE(TestSupport::readFile(victim), QByteArray("keep me"));
        QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList {"victim"});
        QVERIFY(!QFileInfo::exists(m_home + "/real/job.pdf"));
        if (delivered.isEmpty()) {
            QVERIFY2(!ok, qPrintable(path));
            QVERIFY2(error.contains(errorHas) && error.contains(m_person), qPrintable(error));
            return;
        }
        QVERIFY2(ok, qPrintable(error));
        QCOMPARE(path, pdfFolder + "/" + delivered);
        QCOMPARE(statOf(path).st_uid, uidOf(m_person));
        QVERIFY(S_ISREG(statOf(path).st_mode));
    }

    // Users who get no folder, and names that are no file's; these need no root.
    void refuses_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("errorHas");
        QTest::newRow("unknown user") << "no-such-user-s2" << "job.pdf" << "not a local user";
        QTest::newRow("no user") << "" << "job.pdf" << "cannot deliver to the printing user's folder: the job names no user";
        QTest::newRow("root") << "root" << "job.pdf" << "never delivered to root";
        QTest::newRow("system user") << "daemon" << "job.pdf" << "system user";
        QTest::newRow("nobody") << "nobody" << "job.pdf" << "nobody is a service account (uid 65534), not a person";
        QTest::newRow("name with a slash") << "daemon" << "../job.pdf" << "not a file name";
        QTest::newRow("hidden name") << "daemon" << ".job.pdf" << "not a file name";
        QTest::newRow("dot dot") << "daemon" << ".." << "not a file name";
        QTest::newRow("empty name") << "daemon" << "" << "not a file name";
        QTest::newRow("name too long") << "daemon" << QString(256, 'x') << "not a file name";
    }

    void refuses()
    {
        QFETCH(QString, user);
        QFETCH(QString, fileName);
        QFETCH(QString, errorHas);
        QString path;
        QString error;
        QVERIFY(!deliverToUser(user, source(), fileName, &path, &error));
        QVERIFY2(error.contains(errorHas), qPrintable(error));
    }

    // A watch whose folder is the user's own would get each PDF back as a
    // job, and file it again: refused, by whatever name the watch knows it.
    void watchedFolderRefused()
    {
        needRoot();
        clearFolder();
        QVERIFY(QDir().mkpath(m_home + "/PDF"));
        QVERIFY(run("chown", {m_person + ":" + m_person, m_home + "/PDF"}));
        const QString link = m_dir.filePath("spool-link");
        QFile::remove(link);
        QVERIFY(QFile::link(m_home + "/PDF", link));
        for (const QString &watched : {m_home + "/PDF", link}) {
            UserFolderPolicy policy;
            policy.refusedFolder = watched;
            QString path;
            QString error;
            QVERIFY(!deliverToUser(m_person, source(), "job.pdf", policy, &path, &error));
            QCOMPARE(error, QString("cannot deliver to %1's folder: %2/PDF is the watched folder: the PDF would come "
                                    "back as a job").arg(m_person, m_home));
            QCOMPARE(QDir(m_home + "/PDF").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                QStringList());
        }
        UserFolderPolicy policy; // another folder: delivered as ever
        policy.refusedFolder = m_dir.path();
        QString path;
        QString error;
        QVERIFY2(deliverToUser(m_person, source(), "job.pdf", policy, &path, &error), qPrintable(error));
    }

    // A system user allowed by configuration still needs a home of its own.
    void allowedSystemUser()
    {
        needRoot();
        UserFolderPolicy policy;
        policy.allowedSystemUsers = {"daemon"};
        QString path;
        QString error;
        QVERIFY(!deliverToUser("daemon", source(), "job.pdf", policy, &path, &error));
        QVERIFY2(error.contains("is not theirs") || error.contains("cannot open"), qPrintable(error));
        QVERIFY(!QFileInfo::exists("/usr/sbin/PDF"));
    }

    void uidMinOfLoginDefs()
    {
        const QString defs = TestSupport::writeFile(m_dir.filePath("login.defs"),
            "# UID_MIN 10\nUID_MAX 60000\n  UID_MIN\t\t 2000\nSYS_UID_MIN 100\n");
        QCOMPARE(loginDefsUidMin(defs), 2000);
        QCOMPARE(loginDefsUidMin(m_dir.filePath("missing"), 1000), 1000);
    }

    // As the PDF service runs: its own system user with CAP_SETUID and
    // CAP_SETGID alone. With them the delivery works; without them it is a
    // clear error and nothing is written.
    void asTheServiceUser_data()
    {
        QTest::addColumn<bool>("capabilities");
        QTest::newRow("with CAP_SETUID and CAP_SETGID") << true;
        QTest::newRow("without capabilities") << false;
    }

    void asTheServiceUser()
    {
        QFETCH(bool, capabilities);
        needRoot();
        clearFolder();
        const QString src = source("from the service");
        QVERIFY(::chown(QFile::encodeName(src).constData(), uidOf(m_service), uidOf(m_service)) == 0);
        const QString caps = capabilities ? "-all,+setuid,+setgid" : "-all";
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("STICKER2_DELIVER_AS_SERVICE", m_person + "\n" + src);
        const QString home = m_dir.filePath("service-home");
        QDir().mkpath(home);
        ::chown(QFile::encodeName(home).constData(), uidOf(m_service), uidOf(m_service));
        for (const char *name : {"HOME", "TMPDIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            env.insert(name, home);
        child.setProcessEnvironment(env);
        child.start("setpriv", {"--reuid", m_service, "--regid", m_service, "--init-groups", "--inh-caps", caps,
            "--ambient-caps", caps, "--bounding-set", caps, "--no-new-privs", "--",
            QCoreApplication::applicationFilePath(), "deliverAsServiceOfEnvironment"});
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromUtf8(child.readAllStandardOutput() + child.readAllStandardError());
        QVERIFY2(child.exitCode() == 0, qPrintable(output));
        if (capabilities) {
            QVERIFY2(output.contains("DELIVERED: " + m_home + "/PDF/job.pdf"), qPrintable(output));
            QCOMPARE(TestSupport::readFile(m_home + "/PDF/job.pdf"), QByteArray("from the service"));
            QCOMPARE(statOf(m_home + "/PDF/job.pdf").st_uid, uidOf(m_person));
        } else {
            QVERIFY2(output.contains("REFUSED: ") && output.contains("CAP_SETUID"), qPrintable(output));
            QVERIFY(!QFileInfo::exists(m_home + "/PDF"));
        }
    }

    // The case above, in the service user's process.
    void deliverAsServiceOfEnvironment()
    {
        const QStringList request = qEnvironmentVariable("STICKER2_DELIVER_AS_SERVICE").split('\n');
        if (request.size() != 2)
            QSKIP("run by asTheServiceUser");
        QVERIFY(::getuid() != 0 && ::geteuid() != 0);
        QString path;
        QString error;
        if (deliverToUser(request[0], request[1], "job.pdf", &path, &error))
            std::printf("DELIVERED: %s\n", qPrintable(path));
        else
            std::printf("REFUSED: %s\n", qPrintable(error));
        // The service itself keeps what it had: it is still itself.
        QVERIFY(::getuid() != uidOf(request[0]));
    }
};

QTEST_GUILESS_MAIN(UserFolderTest)
#include "tst_userfolder.moc"
