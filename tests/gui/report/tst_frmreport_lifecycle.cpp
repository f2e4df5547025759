// Opening and closing report views, the stored settings, Import and layout.
#include "ReportViewFixture.h"
#include "platform/AppPaths.h"
#include "gui/platform/MessageBox.h"
#include "gui/printing/PrintPanel.h"
#include "gui/report/PrintFileActions.h"
#include "gui/report/ReportColorPanel.h"
#include "report/PageChoice.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QRadioButton>
#include <QTimer>

#include <sys/stat.h>

using namespace ReportViewFixture;

namespace {

void store(const QString &key, const QString &value)
{
    SettingsStore::save(SettingsAppName, QStringLiteral("ReportView"), key, value);
}

// Calls `shown` with each report view as it is shown.
class ShowWatch : public QObject
{
public:
    explicit ShowWatch(std::function<void(FrmReport *)> shown)
        : m_shown(std::move(shown))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *view = qobject_cast<FrmReport *>(watched))
                m_shown(view);
        return false;
    }

private:
    std::function<void(FrmReport *)> m_shown;
};

// `pages` pages of about 4 KB (60 lines), page i starting "Page <i>": a file
// large enough to be cut into pages while the view shows its first.
QByteArray largeFile(int pages)
{
    const QByteArray lines = QByteArray("a line of the report, long enough to fill a page's width .....\r\n").repeated(60);
    QByteArray bytes;
    bytes.reserve(qsizetype(pages) * (lines.size() + 16));
    for (int i = 1; i <= pages; ++i)
        bytes += "Page " + QByteArray::number(i) + "\r\n" + lines + '\f';
    return bytes;
}

} // namespace

class TestFrmReportLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }
    void init() { QFile::remove(SettingsStore::fileName(SettingsAppName)); }
    void cleanup()
    {
        closeAll();
        MessageBox::clearShown();
        QCOMPARE(int(OpenViewCount), 0);
    }

    void printedLook_windowShownBeforeItsReading()
    {
        // A file opened in the printed look: the view is on screen before
        // the file is read as printed (a gigabyte takes seconds), so the
        // reading's progress and Cancel show inside it.
        store(QStringLiteral("Printed"), QStringLiteral("1"));
        QTemporaryDir dir;
        const QString path = printFile(dir.filePath("look.prn"), pagedBytes(3));
        int shows = 0;
        bool readAtShow = true;
        ShowWatch watch([&](FrmReport *shown) {
            if (shows++ == 0)
                readAtShow = shown->document().printedBuilt();
        });
        FrmReport *view = open(path);
        QVERIFY(view);
        QVERIFY(shows > 0);
        QVERIFY(!readAtShow);
        QVERIFY(view->document().showsSheets());
        QCOMPARE(pageLabel(view), QStringLiteral("Page 1/3"));
    }

    void largeFile_shownFirstThenItsPages()
    {
        // A file of 48 MB is shown with its first page while the rest is
        // cut; Last waits for every page, then shows the true last one.
        QTemporaryDir dir;
        const int pages = 12000;
        const QString path = printFile(dir.filePath("large.prn"), largeFile(pages));
        FrmReport *view = open(path);
        QVERIFY(view);
        QVERIFY(pageLabel(view).startsWith(QStringLiteral("Page 1/")));
        QCOMPARE(viewText(view).section(QLatin1Char('\n'), 0, 0).trimmed(), QStringLiteral("Page 1"));
        auto *bar = control<QWidget>(view, QStringLiteral("PageCutBar"));
        QCOMPARE(bar->isVisible(), !view->document().pagesComplete());
        click(view, QStringLiteral("CmdLast"));
        QVERIFY(view->document().pagesComplete());
        QCOMPARE(pageLabel(view), QStringLiteral("Page %1/%1").arg(pages));
        QCOMPARE(viewText(view).section(QLatin1Char('\n'), 0, 0).trimmed(), QStringLiteral("Page %1").arg(pages));
        QVERIFY(bar->isHidden());
    }

    void largeFile_cancelGivesUpTheOpening()
    {
        QTemporaryDir dir;
        const QString path = printFile(dir.filePath("large.prn"), largeFile(12000));
        // Before the event loop takes in what the cut found.
        FrmReport *view = OpenReportView(path);
        QVERIFY(view);
        QPointer<FrmReport> alive(view);
        if (view->document().pagesComplete()) {
            // On a loaded machine the opening's wait for page 1 can outlast
            // the whole cut (47 MB): nothing is left to give up.
            view->close();
            QSKIP("the cut ended before the view was shown");
        }
        QVERIFY(control<QWidget>(view, QStringLiteral("PageCutBar"))->isVisible());
        click(view, QStringLiteral("PageCutBarCancel"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive.isNull());
        QCOMPARE(int(OpenViewCount), 0);
    }

    void largeFile_onePageWithoutFormFeed()
    {
        // 40 MB without a form feed: one page, waited for while it is cut,
        // its lines found aside. The page shows whole: its last line at
        // the end, found by the search, and the same lines in Cont...
        QTemporaryDir dir;
        const QByteArray line = "a line of the report, long enough to fill a page's width .....\r\n";
        const QByteArray bytes = line.repeated((40 << 20) / line.size()) + "the end";
        const qint64 lines = (40 << 20) / line.size() + 1;
        FrmReport *view = open(printFile(dir.filePath("onepage.prn"), bytes));
        QVERIFY(view);
        QVERIFY(view->isVisible());
        QCOMPARE(pageLabel(view), QStringLiteral("Page 1/1"));
        QVERIFY(view->document().pagesComplete());
        const ViewLines *shown = view->pageView()->lines();
        QVERIFY(shown);
        QCOMPARE(shown->lineCount(), lines);
        QCOMPARE(shown->lineText(shown->index().line(lines - 1)), QStringLiteral("the end\f"));
        apply(view, {"Text4+the end", "Text4!Return"});
        QTRY_COMPARE_WITH_TIMEOUT(view->pageView()->selectedText(), QStringLiteral("the end"), 30000);
        click(view, QStringLiteral("Check3"));
        QVERIFY(view->document().continuous());
        QCOMPARE(view->pageView()->lines()->lineCount(), lines);
    }

    void longPage_cancelKeepsTheLook_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("zoom") << "zoom";
        QTest::newRow("code page") << "code page";
        QTest::newRow("continuous") << "continuous";
        QTest::newRow("emphasis colour") << "emphasis colour";
        QTest::newRow("code page, continuous") << "code page, continuous";
    }

    // A long page read again for another zoom, code page or emphasis
    // colour, or the whole file read for Cont.. (or in another code page
    // while it is shown), shows a progress with Cancel. Cancel keeps the page as it was on screen, in the zoom, code
    // page and colours it was read in, with their controls and the stored
    // choice; let run, the change is made.
    void longPage_cancelKeepsTheLook()
    {
        QFETCH(QString, change);
        QTemporaryDir dir;
        // 64 MB of empty lines: finding them lasts well past the quiet time
        // before a progress shows.
        FrmReport *view = open(printFile(dir.filePath("long.prn"), QByteArray(64 << 20, '\n') + "the end"));
        QVERIFY(view);
        const bool continuous = change == "code page, continuous";
        if (continuous) {
            click(view, "Check3");
            QVERIFY(view->document().continuous());
        }
        const std::shared_ptr<ViewLines> shown = view->pageView()->shared();
        QVERIFY(shown);
        view->colorPanel(); // its swatches and list are used below
        const QString controls = QStringLiteral("Command2;CboCodePage;stored:CodePage;Check3;stored:Bold");
        const QColor boldBefore = view->document().markup().bold;
        const QColor green(0, 0x80, 0);
        QVERIFY(boldBefore != green);
        const QString before = states(view, controls);
        const CodePage::Id codePageBefore = view->document().codePage();
        const double editPoints = view->editText()->font().pointSizeF();
        const qreal scale = view->pageView()->scale();
        auto *list = control<QComboBox>(view, "CboCodePage");
        const int other = list->findData(int(CodePage::Id::Pc437));
        QVERIFY(codePageBefore != CodePage::Id::Pc437 && other >= 0);
        const auto makeChange = [&] {
            if (change == "zoom") {
                click(view, "Command2");
            } else if (change == "continuous") {
                click(view, "Check3");
            } else if (change == "emphasis colour") {
                Dialogs::setNextColor(green);
                QTest::mouseDClick(control(view, "TXt(1)"), Qt::LeftButton);
            } else { // the code page, as the user picks it from the list
                list->setCurrentIndex(other);
                emit list->activated(other);
            }
        };
        int cancelled = 0;
        QTimer canceller;
        canceller.setInterval(5);
        connect(&canceller, &QTimer::timeout, view, [&] {
            auto *progress = view->findChild<QProgressDialog *>(QStringLiteral("ViewWaitProgress"));
            auto *cancel = progress && progress->isVisible() ? progress->findChild<QPushButton *>() : nullptr;
            if (cancel && cancel->isVisible() && !progress->wasCanceled()) {
                ++cancelled;
                cancel->click();
            }
        });
        canceller.start();
        makeChange();
        canceller.stop();
        QCOMPARE(cancelled, 1);
        QCOMPARE(view->pageView()->shared(), shown);
        QVERIFY(view->pageView()->isVisible());
        QCOMPARE(states(view, controls), before);
        QCOMPARE(view->zoomedIn(), false);
        QCOMPARE(view->document().codePage(), codePageBefore);
        QCOMPARE(view->document().continuous(), continuous);
        QCOMPARE(view->document().markup().bold, boldBefore);
        QCOMPARE(view->swatchColor(1), boldBefore);
        QCOMPARE(view->editText()->font().pointSizeF(), editPoints);
        QCOMPARE(view->pageView()->scale(), scale);
        makeChange();
        QVERIFY(view->pageView()->shared() != shown);
        QCOMPARE(view->zoomedIn(), change == "zoom");
        QCOMPARE(view->document().codePage(), change.startsWith("code page") ? CodePage::Id::Pc437 : codePageBefore);
        QCOMPARE(view->document().continuous(), change == "continuous" || continuous);
        QCOMPARE(view->pageView()->lines()->options().codePage, view->document().codePage());
        QCOMPARE(view->document().markup().bold, change == "emphasis colour" ? green : boldBefore);
        QCOMPARE(view->pageView()->lines()->options().context.bold, view->document().markup().bold);
        QCOMPARE(view->pageView()->lines()->lineCount(), shown->lineCount());
    }

    void settings_readAtOpen()
    {
        // A value that is not a number gives the default; absent ones too.
        store(QStringLiteral("Bold"), QStringLiteral("dark red"));
        store(QStringLiteral("cond"), QStringLiteral("255"));
        store(QStringLiteral("chSearch"), QStringLiteral("x"));
        store(QStringLiteral("Winp"), QStringLiteral("1"));
        FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(1)));
        // Navy "Dubble", maroon "Bold", white report, orange search, red highlight.
        const QMap<int, QColor> swatches {{0, QColor(0, 0, 0x80)}, {1, QColor(0x80, 0, 0)},
            {3, QColor(0xFF, 0, 0)}, {4, QColor(0xFF, 0xFF, 0xFF)}, {5, QColor(0xFF, 0x80, 0)},
            {6, QColor(0xFF, 0, 0)}};
        for (auto it = swatches.cbegin(); it != swatches.cend(); ++it)
            QCOMPARE(view->swatchColor(it.key()), it.value());
        QCOMPARE(view->document().markup().condensed, QColor(0xFF, 0, 0));
        QCOMPARE(view->editText()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
        QVERIFY(view->document().searchMark().bold);
        view->colorPanel(); // built from the document
        QCOMPARE(TestSupport::state(view, "ChSearch ChHighlighte ChL OptWinMode FrmWin.enabled"),
            QStringLiteral("1|0|0|1|1"));
        // Reading the defaults stores nothing.
        QCOMPARE(stored(QStringLiteral("BBold")), QStringLiteral("<absent>"));
    }

    void settings_roundTrip()
    {
        FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(1)));
        view->colorPanel();
        QTest::mouseDClick(control(view, "TXt(0)"), Qt::LeftButton); // no answer queued: cancel
        QCOMPARE(view->swatchColor(0), QColor(0, 0, 0x80));
        QCOMPARE(stored(QStringLiteral("BBold")), QStringLiteral("<absent>"));
        // A colour choice stores every swatch, as 0x00BBGGRR numbers, and ChSearch.
        control<QCheckBox>(view, "ChSearch")->setChecked(false);
        Dialogs::setNextColor(QColor(0, 0x80, 0));
        QTest::mouseDClick(control(view, "TXt(3)"), Qt::LeftButton);
        QCOMPARE(view->swatchColor(3), QColor(0, 0x80, 0));
        QCOMPARE(control(view, "Lb(3)")->palette().color(QPalette::WindowText), QColor(0, 0x80, 0));
        QCOMPARE(view->document().markup().condensed, QColor(0, 0x80, 0));
        QStringList keys {"Cond", "BBold", "Bold", "RepotBackColor", "SearchString", "Highlight", "chSearch"};
        for (QString &key : keys)
            key = stored(key);
        QCOMPARE(keys.join(' '), QStringLiteral("32768 8388608 128 16777215 33023 255 0"));
        FrmReport *second = open(printFile(QStringLiteral("b.prn"), pagedBytes(1)));
        QCOMPARE(second->swatchColor(3), QColor(0, 0x80, 0));
        QVERIFY(!second->document().searchMark().bold);
        second->colorPanel();
        QCOMPARE(TestSupport::state(second, "ChSearch"), QStringLiteral("0"));
    }

    void openViews_sixAtMostEitherWayOfClosing()
    {
        const QString file = printFile(QStringLiteral("six.prn"), pagedBytes(2));
        QList<QPointer<FrmReport>> views;
        for (int i = 0; i < 6; ++i)
            views << open(file);
        QCOMPARE(int(OpenViewCount), 6);
        QVERIFY(!open(file));
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text,
            QStringLiteral(
                " Max Six Report View Open ...\r\n\r\n Please Close Report View and Try Again .."));
        QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Critical);
        // Import and the continuous view reload without counting again.
        import(views[0], printFile(QStringLiteral("other.txt"), pagedBytes(3)));
        click(views[0], "Check3");
        click(views[0], "Check3");
        QCOMPARE(int(OpenViewCount), 6);
        // The exit button, then the window's close box.
        click(views[0], "JeExit");
        views[1]->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(views[0].isNull() && views[1].isNull());
        QCOMPARE(int(OpenViewCount), 4);
        QVERIFY(open(file) && open(file));
        QCOMPARE(int(OpenViewCount), 6);
    }

    void missingFile_importKeepsTheView()
    {
        // Importing a file that cannot be read keeps the view as it was.
        const QString missing = QDir::temp().filePath(QStringLiteral("no such file.prn"));
        FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(4)));
        click(view, "CmdNxt");
        import(view, missing);
        QVERIFY(MessageBox::shown().value(0).text.contains(QStringLiteral("no such file.prn")));
        QCOMPARE(view->PageCount(), 4);
        QCOMPARE(view->currentPage(), 1);
        QCOMPARE(int(OpenViewCount), 1);
    }

    void filesFromCommandLineAndDrops()
    {
        // Each file its own view; the unreadable ones (missing, a FIFO) give
        // their message and the others still open.
        const QString good = printFile(QStringLiteral("good.prn"), pagedBytes(2));
        const QString fifo = QDir::temp().filePath(QStringLiteral("fifo.prn"));
        QFile::remove(fifo);
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QCOMPARE(openReportViews({good, QStringLiteral("missing.prn"), fifo, good}), 2);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(MessageBox::shown().at(1).text.contains(QStringLiteral("fifo.prn")));
        QCOMPARE(int(OpenViewCount), 2);
        // A file dropped on a view's page opens in a view of its own.
        FrmReport *view = open(good);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(good)});
        QWidget *page = view->pageView()->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(page, &enter);
        QVERIFY(enter.isAccepted());
        // A missing file among them is told once the drop is over: the
        // program that dragged them waits for the drop's end.
        data.setUrls({QUrl::fromLocalFile(good), QUrl::fromLocalFile(QDir::temp().filePath("gone.prn"))});
        MessageBox::clearShown();
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(page, &drop);
        QVERIFY(drop.isAccepted());
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(int(OpenViewCount), 3);
        QTRY_COMPARE(int(OpenViewCount), 4);
        QTRY_COMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().first().text.contains("gone.prn"));
        QCOMPARE(viewText(view).left(6), QStringLiteral("Page 1")); // the page took no text
        QFile::remove(fifo);
    }

    void fileChangedOnDisk_barAndReload()
    {
        // Cut short under the view: paging goes on over what is left, a quiet
        // bar tells of the change, and Reload reads the file as it is now.
        const QString file = printFile(QStringLiteral("cut.prn"), pagedBytes(400));
        FrmReport *view = open(file);
        QWidget *bar = TestSupport::child(view, "FileChangeBar");
        QVERIFY(!bar->isVisible());
        QVERIFY(QFile::resize(file, 0));
        printFile(QStringLiteral("cut.prn"), pagedBytes(3));
        click(view, "CmdLast");
        QCOMPARE(pageLabel(view), QStringLiteral("Page 400/400")); // page counts never mix the files
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(bar->findChild<QLabel *>()->text().contains("reload it"));
        // The pages read the file as it is now (zeros where it was cut): no
        // export or print is made of them, and the user is told to reload.
        QTemporaryDir dir;
        for (const char *name : {"cut.txt", "cut.pdf", "cut.html"}) {
            MessageBox::clearShown();
            Dialogs::setNextFileName(dir.filePath(name));
            click(view, "JeweledButton1");
            QVERIFY2(!QFile::exists(dir.filePath(name)), name);
            QCOMPARE(MessageBox::shown().size(), 1);
            QVERIFY2(MessageBox::shown().first().text.endsWith(
                         "cut.prn changed on disk after it was loaded; reload it, then try again."),
                qPrintable(MessageBox::shown().first().text));
        }
        // All pages would send the file itself, as it is now: refused the same way.
        click(view, "CmdPrint");
        apply(view, {"OptCharMode"});
        MessageBox::clearShown();
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(view, "CmdOk");
        QVERIFY(!MessageBox::shown().isEmpty());
        QVERIFY2(MessageBox::shown().last().text.contains("changed on disk after it was loaded"),
            qPrintable(MessageBox::shown().last().text));
        PageSelection current;
        current.kind = PageSelection::Current;
        QByteArray bytes;
        QString error;
        QVERIFY(!view->document().chosenBytes(current, {}, &bytes, &error));
        QVERIFY(error.contains("changed on disk"));
        click(view, "CmdReload");
        QCOMPARE(pageLabel(view), QStringLiteral("Page 1/3"));
        QVERIFY(!bar->isVisible());
        // A view of the watched folder loads the file again once it has settled.
        view->setReloadsItself(true);
        printFile(QStringLiteral("cut.prn"), pagedBytes(5));
        QTRY_COMPARE_WITH_TIMEOUT(pageLabel(view), QStringLiteral("Page 1/5"), 10000);
        QVERIFY(!bar->isVisible());
    }

    // The watch of the file starts once the view is drawn: a change made
    // after the load but before the first picture shows then.
    void fileChangedBeforeTheFirstPicture()
    {
        const QString file = printFile(QStringLiteral("early.prn"), pagedBytes(4));
        auto *view = new FrmReport;
        QVERIFY(view->LoadReport(file));
        QWidget *bar = TestSupport::child(view, "FileChangeBar");
        printFile(QStringLiteral("early.prn"), pagedBytes(2));
        QCoreApplication::processEvents();
        QVERIFY(bar->isHidden());
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(view->PageCount(), 4); // the view keeps what it loaded
    }

    void import_showsChosenFile()
    {
        FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(2)));
        // Cancelling before any file was chosen changes nothing.
        click(view, "CmdImport");
        // Its own type first, then print files and all files.
        QCOMPARE(Dialogs::asked().last().filter,
            QStringLiteral(" Txt File(*.txt)|*.txt|") + PrintFileActions::filter());
        QCOMPARE(view->PageCount(), 2);
        const QString imported = printFile(QStringLiteral("imported.txt"), pagedBytes(3));
        import(view, imported);
        QCOMPARE(view->PageCount(), 3);
        QCOMPARE(view->reportFile(), ShortPathOf(imported));
        QCOMPARE(pageLabel(view), QStringLiteral("Page 1/3"));
        QCOMPARE(control(view, "Tend")->toolTip(), QStringLiteral(" 3  : Maximum "));
    }

    void activation_onlyFromAnotherForm()
    {
        FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(3)));
        QVERIFY(view->printPanel()->isHidden());
        click(view, "CmdPrint");
        QVERIFY(view->printPanel()->isVisible());
        QEvent activate(QEvent::WindowActivate);
        // Back from one of the view's own message boxes (or another program):
        // the page option the user chose stays.
        QApplication::sendEvent(view, &activate);
        control<QRadioButton>(view, "Op(1)")->setChecked(true);
        QApplication::sendEvent(view, &activate);
        QCOMPARE(TestSupport::state(view, "Op(1)"), QStringLiteral("1"));
        // Back from another form of the program: "All Pages" again.
        QWidget otherForm;
        QApplication::sendEvent(&otherForm, &activate);
        QApplication::sendEvent(view, &activate);
        QCOMPARE(TestSupport::state(view, "Op(0)"), QStringLiteral("1"));
    }

    void layout_nothingOverlaps()
    {
        // Nothing overlaps in the top bar or along the bottom, and the bottom
        // bar holds its controls whole, down to the smallest window.
        FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(6)));
        QTest::mouseClick(control(view, "CmdPrint"), Qt::LeftButton);
        for (const QSize size : {view->minimumSize(), QSize(1000, 700)}) {
            view->resize(size);
            QCOMPARE(TestSupport::clippedCaptions(view).join(" "), QString()); // print panel included
            QWidget *bar = control(view, "Frame8");
            QVERIFY(bar->geometry().top() >= view->editText()->geometry().bottom());
            QVERIFY(view->rect().contains(control(view, "JeExit")->geometry()));
            const QList<QStringList> rows {
                {"Label4", "Check1", "Command2", "CmdImport", "lb1", "Label7", "Text4", "LbPageNo"},
                {"Frame8", "Image1", "Check3", "Check2", "CmdPrint", "JeExit"}};
            for (const QStringList &row : rows) {
                for (int i = 0; i < row.size(); ++i) {
                    for (int j = i + 1; j < row.size(); ++j)
                        QVERIFY2(
                            !control(view, row[i])->geometry().intersects(control(view, row[j])->geometry()),
                            qPrintable(row[i] + " overlaps " + row[j]));
                }
            }
            for (QWidget *w : bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
                QVERIFY2(w->isHidden() || bar->rect().contains(w->geometry()), qPrintable(w->objectName()));
        }
    }

};

QTEST_MAIN(TestFrmReportLifecycle)
#include "tst_frmreport_lifecycle.moc"
