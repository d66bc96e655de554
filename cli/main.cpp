#include "cli.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

namespace {

// stderr belongs to the tool's own messages: the platform's chatter (about
// runtime folders, fonts and the like) is left out; only its failures show.
void platformMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        letterloom::cli::printMessage(message);
}

}  // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(platformMessage);
    // A new picture records 96 dots an inch whichever application object made
    // it: the console one would otherwise record 100 and the pictures written
    // would differ in their headers.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    std::unique_ptr<QCoreApplication> app;
    if (letterloom::cli::drawsText(argc, argv)) {
        // Drawing text needs a GUI application, but the tool never opens a
        // window: where no platform is chosen it runs on the offscreen one, so
        // it works on machines without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        // Every other command reads and writes files and pictures only, which
        // the console application serves without a platform to start.
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Letterloom"));
    return letterloom::cli::run(QCoreApplication::arguments());
}
