#include "base/large_pages.h"
#include "support/sanitized.h"

#include <QTest>

#include <cstdint>

using namespace letterloom;

class TestLargePages : public QObject {
    Q_OBJECT

private slots:
    // Buffers from kLargePage on begin on a large page; sizes no memory can
    // hold are refused, never rounded into a small buffer.
    void allocatorBuffers_data()
    {
        QTest::addColumn<quint64>("count");  // of 4-byte values
        QTest::addColumn<int>("outcome");    // 0 anywhere on the heap, 1 on a large page, 2 refused
        QTest::newRow("a few") << quint64(3) << 0;
        QTest::newRow("one short of a large page") << quint64(kLargePage / 4 - 1) << 0;
        QTest::newRow("a large page") << quint64(kLargePage / 4) << 1;
        QTest::newRow("a large page and a part") << quint64(kLargePage / 4 * 3 / 2) << 1;
        QTest::newRow("rounding up would wrap") << quint64(SIZE_MAX / 4) << 2;
        QTest::newRow("largest that rounds") << quint64((SIZE_MAX - kLargePage) / 4) << 2;
        QTest::newRow("half the address range") << quint64(SIZE_MAX / 8) << 2;
    }
    void allocatorBuffers()
    {
        QFETCH(quint64, count);
        QFETCH(int, outcome);
        LargePageAllocator<std::uint32_t> allocator;
        if (outcome == 2) {
#ifdef LETTERLOOM_SANITIZED
            QSKIP("The sanitizers stop a program that asks for more than the memory there is");
#endif
            QCOMPARE(allocateLargeBuffer(std::size_t(count) * 4), nullptr);
            QVERIFY_THROWS_EXCEPTION(std::bad_alloc, allocator.allocate(std::size_t(count)));
            return;
        }
        std::uint32_t *values = allocator.allocate(std::size_t(count));
        values[0] = 1;
        values[count - 1] = 2;
        if (outcome == 1)
            QCOMPARE(reinterpret_cast<std::uintptr_t>(values) % kLargePage, std::uintptr_t(0));
        QCOMPARE(values[0] + values[count - 1], 3u);
        allocator.deallocate(values, std::size_t(count));
    }
};

QTEST_GUILESS_MAIN(TestLargePages)
#include "tst_large_pages.moc"
