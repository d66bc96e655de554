// The application object's last net: a failure that escapes an event handler
// ends in the error box, and the program goes on handling events.

#include "base/error.h"
#include "support/fake_prompter.h"
#include "ui/application.h"

#include <QTest>

#include <new>

using letterloom::testing::FakePrompter;
using letterloom::ui::Application;

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

}  // namespace

class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void title();
    void failuresEndInTheErrorBox_data();
    void failuresEndInTheErrorBox();
};

void TestApplication::title()
{
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Letterloom"));
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

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
