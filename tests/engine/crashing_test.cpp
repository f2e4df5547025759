// A Qt test that crashes, run by engine/crash_fails_fast: a crash inside any
// test must end it at once with a failure, not leave it waiting in Qt
// Test's crash handler (which asks a debugger for a stack trace) until
// ctest's time limit.
#include <QTest>

#include <csignal>

class CrashingTest : public QObject
{
    Q_OBJECT

private slots:
    void crashes() { std::raise(SIGSEGV); }
};

QTEST_GUILESS_MAIN(CrashingTest)
#include "crashing_test.moc"
