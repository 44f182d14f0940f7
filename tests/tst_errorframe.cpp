// The error frame: what Retry, Ignore, Cancel and End do, and what the reporter
// is told.

#include "support/testsupport.h"

#include <QTest>

class tst_ErrorFrame : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_env.emplace(); }
    void cleanup() { m_env.reset(); }
    void choices_data();
    void choices();
    void endEndsAtOnce();
    void outOfMemoryIsReported();
    void nestedFramesKeepTheirOwnLeave();

private:
    std::optional<CoreEnvironment> m_env;
};

namespace {
// A procedure of three statements; line 20 fails `failures` times with an
// invalid picture.
QStringList runProcedure(int failures)
{
    QStringList trace;
    int left = failures;
    ErrorFrame f("Modul", "Proc");
    f.run([&] {
        f.line(10, [&] { trace << QStringLiteral("10"); });
        f.line(20, [&] {
            trace << QStringLiteral("20");
            if (left-- > 0)
                raiseError(Err::InvalidPicture);
            trace << QStringLiteral("20 done");
        });
        f.line(30, [&] { trace << QStringLiteral("30"); });
    });
    return trace;
}
} // namespace

void tst_ErrorFrame::choices_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("failures");
    QTest::addColumn<QStringList>("trace");

    QTest::newRow("no error") << QList<int>{} << 0 << QStringList{"10", "20", "20 done", "30"};
    QTest::newRow("retry repeats only the failing statement")
        << QList<int>{0} << 1 << QStringList{"10", "20", "20", "20 done", "30"};
    QTest::newRow("retry twice") << QList<int>{0, 0} << 2 << QStringList{"10", "20", "20", "20", "20 done", "30"};
    QTest::newRow("ignore skips only the failing statement") << QList<int>{1} << 1 << QStringList{"10", "20", "30"};
    QTest::newRow("cancel leaves the procedure") << QList<int>{2} << 1 << QStringList{"10", "20"};
    QTest::newRow("retry then cancel") << QList<int>{0, 2} << 5 << QStringList{"10", "20", "20"};
    QTest::newRow("4, past End, counts as cancel") << QList<int>{4} << 1 << QStringList{"10", "20"};
    QTest::newRow("-1 counts as cancel") << QList<int>{-1} << 1 << QStringList{"10", "20"};
    QTest::newRow("7 counts as cancel") << QList<int>{7} << 1 << QStringList{"10", "20"};
}

void tst_ErrorFrame::choices()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, failures);
    QFETCH(QStringList, trace);
    m_env->reporter.answers = answers;
    // Whatever the choice, the procedure's caller goes on with its next statement.
    QStringList got;
    ErrorFrame caller("Modul", "Caller");
    caller.run([&] {
        caller.line(10, [&] { got << runProcedure(failures); });
        caller.line(20, [&] { got << QStringLiteral("caller goes on"); });
    });
    QCOMPARE(got, trace << QStringLiteral("caller goes on"));
    // Each failure is told to the reporter, with where it happened and the
    // error's description; the statements before it keep what they did.
    const qsizetype failed = got.count(QStringLiteral("20")) - got.count(QStringLiteral("20 done"));
    QCOMPARE(m_env->reporter.said(), QStringList(failed, QStringLiteral("Modul.Proc 20: 481")));
    for (const auto &r : std::as_const(m_env->reporter.reports))
        QCOMPARE(r.error.description, QStringLiteral("Invalid picture"));
}

void tst_ErrorFrame::endEndsAtOnce()
{
    m_env->reporter.answers = {3};
    bool after = false;
    bool callerWentOn = false;
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, [&] {
        ErrorFrame outer("M", "Outer");
        outer.run([&] {
            outer.line(10, [&] {
                ErrorFrame f("M", "Inner");
                f.run([&] {
                    f.line(10, [] { raiseError(Err::DiskFull); });
                    f.line(20, [&] { after = true; });
                });
            });
            outer.line(20, [&] { callerWentOn = true; });
        });
    }());
    QVERIFY(!after);
    QVERIFY(!callerWentOn);
}

void tst_ErrorFrame::outOfMemoryIsReported()
{
    m_env->reporter.answers = {1};
    bool next = false;
    ErrorFrame f("M", "P");
    f.run([&] {
        f.line(10, [] { throw std::bad_alloc(); });
        f.line(20, [&] { next = true; });
    });
    QVERIFY(next);
    QCOMPARE(m_env->reporter.reports.value(0).error.number, 7);
}

void tst_ErrorFrame::nestedFramesKeepTheirOwnLeave()
{
    // An exit() of the inner procedure must not leave the outer one.
    QStringList trace;
    ErrorFrame outer("M", "Outer");
    outer.run([&] {
        outer.line(10, [&] {
            ErrorFrame inner("M", "Inner");
            inner.run([&] {
                inner.line(10, [&] { inner.exit(); });
                inner.line(20, [&] { trace << QStringLiteral("inner 20"); });
            });
        });
        outer.line(20, [&] { trace << QStringLiteral("outer 20"); });
    });
    QCOMPARE(trace, QStringList{QStringLiteral("outer 20")});
    QVERIFY(m_env->reporter.reports.isEmpty());
}

QTEST_GUILESS_MAIN(tst_ErrorFrame)
#include "tst_errorframe.moc"
