// The least a program linked to letterloom-cli's libraries does: start, make
// the console application object and end. bench_files.sh times
// letterloom-cli's start-up against it.

#include <QCoreApplication>
#include <QImage>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // A null picture: the picture library is loaded as letterloom-cli loads it.
    return QImage().isNull() ? 0 : 1;
}
