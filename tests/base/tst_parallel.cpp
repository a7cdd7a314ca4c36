// Work cut into parts run at once: the parts follow each other, cover every
// position once, and are fewer when the work is small.
#include "base/parallel.h"

#include <QTest>

#include <mutex>

class TestParallel : public QObject
{
    Q_OBJECT
private slots:
    void forParts_coverEachPositionOnce_data()
    {
        QTest::addColumn<qsizetype>("n");
        QTest::addColumn<qsizetype>("least");
        QTest::newRow("nothing") << qsizetype(0) << qsizetype(10);
        QTest::newRow("below one part") << qsizetype(9) << qsizetype(10);
        QTest::newRow("two parts, odd count") << qsizetype(21) << qsizetype(10);
        QTest::newRow("many parts") << qsizetype(100001) << qsizetype(1);
        QTest::newRow("no least") << qsizetype(5) << qsizetype(0);
    }
    void forParts_coverEachPositionOnce()
    {
        QFETCH(qsizetype, n);
        QFETCH(qsizetype, least);
        std::vector<int> seen(size_t(n), 0);
        std::vector<std::pair<qsizetype, qsizetype>> ranges(size_t(parallel::parts(n, least)));
        std::mutex m;
        const int count = parallel::forParts(n, least, [&](int p, qsizetype begin, qsizetype end) {
            for (qsizetype i = begin; i < end; ++i)
                ++seen[size_t(i)];
            const std::lock_guard lock(m);
            ranges[size_t(p)] = {begin, end};
        });
        QCOMPARE(size_t(count), ranges.size());
        QVERIFY(count >= 1);
        QVERIFY(count == 1 || n / count >= std::max<qsizetype>(least, 1));
        QVERIFY(std::all_of(seen.begin(), seen.end(), [](int s) { return s == 1; }));
        qsizetype next = 0;
        for (const auto &[begin, end] : ranges) {
            QCOMPARE(begin, next);
            QVERIFY(end >= begin);
            next = end;
        }
        QCOMPARE(next, n);
    }
};

QTEST_GUILESS_MAIN(TestParallel)
#include "tst_parallel.moc"
