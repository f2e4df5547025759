// The reference of the start-up benchmark: a Qt Widgets program and nothing
// else (no other library linked), showing one empty window and leaving as
// soon as it is exposed.
#include <QApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    QDeadlineTimer deadline(10000);
    const auto exposed = [&window] { return window.windowHandle() && window.windowHandle()->isExposed(); };
    while (!exposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return exposed() ? 0 : 1;
}
