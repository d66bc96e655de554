#include "cli.h"

#include <QGuiApplication>

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
    // Drawing text needs a GUI application, but the tool never opens a window:
    // where no platform is chosen it runs on the offscreen one, so it works on
    // machines without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(platformMessage);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Letterloom"));
    return letterloom::cli::run(QGuiApplication::arguments());
}
