// Every test program runs with settings of its own: before anything reads
// them, the configuration, data and cache folders point into a fresh folder
// that goes away with the program. So what an ordinary session of the program
// (or of any other Qt program) left in the user's settings, such as the last
// folder of a file dialog, never reaches a test, and a test leaves nothing
// there. Linked into every test program.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class OwnSettings {
public:
    OwnSettings()
    {
        for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
            const QString path = folder_.filePath(QString::fromLatin1(variable).toLower());
            QDir().mkpath(path);
            qputenv(variable, QFile::encodeName(path));
        }
    }

private:
    QTemporaryDir folder_{QDir::tempPath() + QStringLiteral("/letterloom-test-settings-XXXXXX")};
};

const OwnSettings ownSettings;

}  // namespace
