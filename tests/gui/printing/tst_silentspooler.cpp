// Every desktop-printing route of the windows against a print server that
// takes the connection and never answers: the window goes on answering
// while the server is asked (a timer keeps firing), and one message says
// that the server does not answer.
#include "PrintingFixture.h"
#include "../sticker/FormDriver.h"
#include "gui/printing/SpoolerWait.h"
#include "gui/sticker/Frm0010Sticker.h"

#include <QPrintPreviewDialog>
#include <QProgressDialog>
#include <QPushButton>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace PrintingFixture;

namespace {

// The longest time between two ticks of a 20 ms timer while `action` runs:
// how long the window stopped answering.
qint64 longestStall(const std::function<void()> &action, qint64 *took)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticks;
    ticks.setInterval(20);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longest = qMax(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    ticks.start();
    action();
    *took = clock.elapsed();
    return qMax(longest, clock.elapsed() - last);
}

Frm0010Sticker *windowsModeStickers()
{
    auto *form = new Frm0010Sticker;
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    FormDriver::fill(form,
        {{"Atxt(0)", "ACME STORES"}, {"TxCol", "2"}, {"TxRow", "3"}, {"TxMaxFLenth", "16"},
            {"TxtMLeft", "720"}, {"TxtHEight", "4500"}, {"txtRowPrint", "3"}, {"txtPage", "1"}});
    click(form, "ChKwIN");
    return form;
}

} // namespace

class TestSilentSpooler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The user's CUPS_SERVER names a server that takes connections (the
        // kernel's backlog does) and never reads a request.
        m_folder = TestSupport::socketFolder();
        const QByteArray path = QFile::encodeName(m_folder->filePath("mute.sock"));
        m_mute = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        QVERIFY(::bind(m_mute, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
            && ::listen(m_mute, 128) == 0);
        qputenv("CUPS_SERVER", path);
        TestSupport::initWindows();
    }
    void cleanupTestCase()
    {
        ::close(m_mute); // the threads still asking get their answer: the end
        // As the program does when it leaves: the cancelled wait's thread
        // ends before the toolkit is torn down (it crashed the exit).
        QVERIFY(SpoolerWait::finishAll(SpoolerWait::LeaveWaitMs));
    }
    void init() { reset(); }
    void cleanup()
    {
        PrintingFixture::cleanup();
        for (QWidget *w : QApplication::topLevelWidgets())
            w->close();
        QTest::qWait(20);
    }

    void everyRouteTellsAndAnswers_data()
    {
        QTest::addColumn<QString>("window"); // "stickers" or "report"
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("sticker form: Preview") << "stickers" << QStringList {"CmdPreview"};
        QTest::newRow("sticker form: Print") << "stickers" << QStringList {"JBshow(1)"};
        QTest::newRow("report view: Print, Windows mode")
            << "report" << QStringList {"OptWinMode", "?Yes", "CmdOk"};
        QTest::newRow("report view: Preview, Windows mode")
            << "report" << QStringList {"OptWinMode", "CmdPreview"};
        QTest::newRow("report view: the page on screen, Windows mode")
            << "report" << QStringList {"OptWinMode", "Chwinprint=1", "CmdOk"};
        QTest::newRow("report view: Print, character mode") << "report" << QStringList {"?Yes", "CmdOk"};
    }

    void everyRouteTellsAndAnswers()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, steps);
        QWidget *form = nullptr;
        if (window == "stickers") {
            form = windowsModeStickers();
        } else {
            form = openPanel("silent.prn", pagedBytes(2));
            QTRY_VERIFY_WITH_TIMEOUT(control(form, "CboPrinters")->isVisible(), 1000);
        }
        MessageBox::clearShown();
        bool previewShown = false;
        QTimer previews; // a preview would need the printer that was never made
        previews.setInterval(20);
        connect(&previews, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
                previewShown = true;
                dialog->reject();
            }
        });
        previews.start();
        qint64 took = 0;
        const qint64 stall = longestStall([&] { ReportViewFixture::apply(form, steps); }, &took);
        QVERIFY2(stall < 1000, qPrintable(QString("stalled %1 ms of %2 ms").arg(stall).arg(took)));
        QVERIFY(took < 20000);
        QVERIFY(!previewShown);
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY2(MessageBox::shown().first().text.contains("did not answer"),
            qPrintable(MessageBox::shown().first().text));
    }

    void waitCancelled()
    {
        // Cancel on the wait's progress: back at once, nothing told.
        QWidget *form = windowsModeStickers();
        MessageBox::clearShown();
        QTimer canceller;
        canceller.setInterval(20);
        bool seen = false;
        connect(&canceller, &QTimer::timeout, [&] {
            auto *progress = form->findChild<QProgressDialog *>("SpoolerWait");
            if (progress && progress->isVisible()) {
                seen = true;
                QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
            }
        });
        canceller.start();
        QElapsedTimer clock;
        clock.start();
        click(form, "CmdPreview");
        QVERIFY(seen);
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!SpoolerWait::finishAll(0)); // the question still runs on alone
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    int m_mute = -1;
};

QTEST_MAIN(TestSilentSpooler)
#include "tst_silentspooler.moc"
