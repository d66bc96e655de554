#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Letterloom"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Letterloom v1.0"));
    window.show();
    return app.exec();
}
