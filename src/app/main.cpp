#include "platform/AppPaths.h"
#include "startup/MainModule.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sticker2"));
    AppPaths::ensureProgramFolder();
    Main();
    return app.exec();
}
