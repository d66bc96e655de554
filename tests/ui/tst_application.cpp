// The application object: its last net (a failure that escapes an event
// handler ends in the error box, and the program goes on handling events),
// its icon, the files named on its command line and the signals that end it.

#include "base/error.h"
#include "font/font_file.h"
#include "project/workspace.h"
#include "support/fake_prompter.h"
#include "ui/application.h"
#include "ui/draw_form.h"
#include "ui/font_form.h"
#include "ui/font_graph_form.h"
#include "ui/font_size_form.h"
#include "ui/graph_form.h"
#include "ui/main_form.h"
#include "ui/termination_signals.h"
#include "ui/text_form.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <new>

using letterloom::project::Answer;
using letterloom::testing::FakePrompter;
using letterloom::ui::Application;
using letterloom::ui::Shell;

namespace {

// An object whose handling of an event fails the way the test asks.
class Failing : public QObject {
public:
    QString failure;
    int handled = 0;

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++handled;
        if (failure == u"error")
            throw letterloom::Error(QStringLiteral("Disk full"));
        if (failure == u"memory")
            throw std::bad_alloc();
        return true;
    }
};

// The picture an SVG file shows at a size.
QImage rendered(QSvgRenderer &svg, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter, image.rect());
    return image;
}

}  // namespace

class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void title();
    void failuresEndInTheErrorBox_data();
    void failuresEndInTheErrorBox();
    void everyWindowShowsTheDesktopIcon();
    void filesNamedOnTheCommandLine();
    void terminationSignalsCloseTheMainWindow_data();
    void terminationSignalsCloseTheMainWindow();

private:
    QTemporaryDir dir_;
};

void TestApplication::title()
{
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Letterloom"));
    // The desktop matches the windows to the menu entry installed from desktop/.
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("local.letterloom.Letterloom"));
    QVERIFY(QFile::exists(QStringLiteral(LETTERLOOM_SOURCE_DIR "/desktop/%1.desktop")
                              .arg(QGuiApplication::desktopFileName())));
}

void TestApplication::failuresEndInTheErrorBox_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("errors");

    QTest::newRow("a command's error") << "error" << QStringList{"Disk full"};
    QTest::newRow("out of memory") << "memory" << QStringList{"Out of memory"};
    QTest::newRow("no failure") << "" << QStringList{};
}

void TestApplication::failuresEndInTheErrorBox()
{
    QFETCH(QString, failure);
    QFETCH(QStringList, errors);
    FakePrompter prompter;
    auto *application = static_cast<Application *>(QCoreApplication::instance());
    application->setPrompter(&prompter);
    Failing target;
    target.failure = failure;

    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&target, QEvent::User);
    QCOMPARE(prompter.errors(), errors);

    // The next event is handled as usual.
    target.failure.clear();
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&target, QEvent::User);
    QCOMPARE(target.handled, 2);
    QCOMPARE(prompter.errors(), errors);
    application->setPrompter(nullptr);
}

// The icon the desktop's menus show (installed from desktop/) is the one
// every window of the program carries, at every size.
void TestApplication::everyWindowShowsTheDesktopIcon()
{
    QSvgRenderer desktopIcon(QStringLiteral(LETTERLOOM_SOURCE_DIR "/desktop/local.letterloom.Letterloom.svg"));
    QVERIFY(desktopIcon.isValid());
    FakePrompter prompter;
    Shell shell(prompter, dir_.path());
    const QList<QWidget *> windows{shell.windows().main, shell.windows().text, shell.windows().graph,
                                   shell.windows().font, shell.windows().fontGraph, shell.windows().draw,
                                   shell.windows().fontSize};
    for (const int size : {16, 32, 64}) {
        const QImage expected = rendered(desktopIcon, size);
        QVERIFY(qAlpha(expected.pixel(size / 2, size / 2)) == 255);
        for (QWidget *window : windows)
            QCOMPARE(window->windowIcon().pixmap(size).toImage().convertToFormat(expected.format()), expected);
    }
}

// Each file named on the command line opens in turn; one that fails shows
// the error box and the next one still opens.
void TestApplication::filesNamedOnTheCommandLine()
{
    FakePrompter prompter;
    Shell shell(prompter, dir_.path());
    letterloom::font::GlyphTable glyphs;
    glyphs.setGlyphSize('A', 2, 2);
    glyphs['A'].defined = 1;
    const QString fontPath = dir_.filePath(QStringLiteral("named.llf"));
    letterloom::font::writeFontFile(fontPath, glyphs);

    shell.openFiles({dir_.filePath(QStringLiteral("missing.llp")), fontPath});
    QCOMPARE(prompter.log, QStringList{"error: File not found"});
    QCOMPARE(shell.workspace().fontPath, fontPath);
    QCOMPARE(shell.workspace().glyphs, letterloom::font::readFontFile(fontPath));
    QVERIFY(shell.windows().font->isVisible());
}

void TestApplication::terminationSignalsCloseTheMainWindow_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("pendingAtStart");  // came while the program started with it blocked
    QTest::addColumn<QString>("unsaved");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("closed");

    const QString leave = QStringLiteral("askCancel: Text in the project has been changed. Save it before closing?");
    QTest::newRow("logout") << SIGTERM << false << "" << QStringList{} << true;
    QTest::newRow("logout during start-up") << SIGTERM << true << "" << QStringList{} << true;
    QTest::newRow("Ctrl+C in the terminal") << SIGINT << false << "" << QStringList{} << true;
    QTest::newRow("terminal closed") << SIGHUP << false << "" << QStringList{} << true;
    QTest::newRow("logout with unsaved text, No") << SIGTERM << false << "No" << QStringList{leave} << true;
    QTest::newRow("logout with unsaved text, Cancel") << SIGTERM << false << "Cancel" << QStringList{leave}
                                                      << false;
}

void TestApplication::terminationSignalsCloseTheMainWindow()
{
    QFETCH(int, signal);
    QFETCH(bool, pendingAtStart);
    QFETCH(QString, unsaved);
    QFETCH(QStringList, log);
    QFETCH(bool, closed);
    QApplication::setQuitOnLastWindowClosed(false);
    FakePrompter prompter;
    Shell shell(prompter, dir_.path());
    shell.show();
    if (!unsaved.isEmpty()) {
        shell.windows().text->findChild<QPlainTextEdit *>(QStringLiteral("Memo"))->setPlainText(QStringLiteral("x"));
        prompter.answer(unsaved == u"No" ? Answer::No : Answer::Cancel);
    }
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, signal);
    if (pendingAtStart) {
        pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
        raise(signal);
    }
    letterloom::ui::closeOnTerminationSignals(shell.windows().main);
    if (!pendingAtStart)
        raise(signal);

    QTRY_COMPARE(prompter.log, log);
    if (closed)
        QTRY_VERIFY(!shell.windows().main->isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(shell.windows().main->isVisible(), !closed);
}

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
