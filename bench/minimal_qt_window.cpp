// The reference of the start-up benchmarks: a Qt Widgets program and nothing
// else (no other library linked), showing one window with a label and
// leaving as soon as the window is first drawn, the way sticker2 leaves with
// STICKER2_QUIT_WHEN_SHOWN: the expose is handled (the window painted and
// flushed), then the process ends at once. A label makes it pay for what any
// first window with text pays for: the fonts and their database.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

class QuitOnFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isExposed()) {
                static_cast<QObject *>(window)->event(event); // drawn
                std::fflush(nullptr);
                std::_Exit(0);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QuitOnFirstPaint quit;
    app.installEventFilter(&quit);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("A minimal Qt Widgets window"), &window));
    window.show();
    // A window not drawn within ten seconds is a failed start.
    QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(1); });
    return app.exec();
}
