#include "platform/updates/VersionComparison.h"
#include "support/TestProgram.h"

#include <QTest>

// Which of two bundle versions is newer, by the rules appcast feeds expect.
class VersionComparisonTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compares_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("expected");
        QTest::newRow("equal") << "1.0"
                               << "1.0" << 0;
        QTest::newRow("numeric runs are numbers, not text") << "1.10"
                                                            << "1.9" << 1;
        QTest::newRow("leading zeros do not count") << "1.01"
                                                    << "1.1" << 0;
        QTest::newRow("a longer version is newer") << "1.0.1"
                                                   << "1.0" << 1;
        QTest::newRow("a pre-release is older than the release") << "1.0b1"
                                                                 << "1.0" << -1;
        QTest::newRow("beta before release candidate") << "1.0b2"
                                                       << "1.0rc1" << -1;
        QTest::newRow("pre-release numbers") << "2.0b10"
                                             << "2.0b9" << 1;
        QTest::newRow("major version decides") << "2"
                                               << "1.99.99" << 1;
        QTest::newRow("build numbers") << "1200"
                                       << "999" << 1;
        QTest::newRow("digit runs beyond 64 bits") << "1.99999999999999999999999"
                                                   << "1.99999999999999999999998" << 1;
        QTest::newRow("a number beats a separator") << "1.0.1"
                                                    << "1..1" << 1;
        QTest::newRow("empty is older than anything") << ""
                                                      << "0" << -1;
        QTest::newRow("both empty") << ""
                                    << "" << 0;
        QTest::newRow("dashes separate like periods") << "1-2"
                                                      << "1.2" << 0;
    }
    void compares()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        QCOMPARE(platform::compareVersions(a, b), expected);
        // The order is the same seen from the other side.
        QCOMPARE(platform::compareVersions(b, a), -expected);
    }
};

TROVIX_TEST_GUILESS_MAIN(VersionComparisonTest)
#include "version_comparison_test.moc"
