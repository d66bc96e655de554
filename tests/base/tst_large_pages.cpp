#include "base/large_pages.h"
#include "support/sanitized.h"

#include <QTest>

using namespace letterloom;

class TestLargePages : public QObject {
    Q_OBJECT

private slots:
    // A size no memory can hold is refused, never rounded into a small buffer.
    void sizesBeyondMemoryAreRefused_data()
    {
        QTest::addColumn<quint64>("size");
        QTest::newRow("rounding up would wrap") << quint64(SIZE_MAX - 3);
        QTest::newRow("half the address range") << quint64(SIZE_MAX / 2);
    }
    void sizesBeyondMemoryAreRefused()
    {
#ifdef LETTERLOOM_SANITIZED
        QSKIP("The sanitizers stop a program that asks for more memory than there is");
#endif
        QFETCH(quint64, size);
        QCOMPARE(allocateLargeBuffer(std::size_t(size)), nullptr);
        QVERIFY_THROWS_EXCEPTION(std::bad_alloc, LargePageAllocator<char>().allocate(std::size_t(size)));
    }
};

QTEST_GUILESS_MAIN(TestLargePages)
#include "tst_large_pages.moc"
