#include "platform/workspace/x11/ProcessTable.h"
#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <sys/wait.h>
#include <unistd.h>

using platform::ProcessTable;

// What the workspace learns about processes from /proc: whether one still
// runs, its name and its executable.
class ProcessesTest : public QObject
{
    Q_OBJECT

private:
    // Waits until /proc shows the process in state Z (it has ended, its
    // parent has not collected it).
    static bool waitForZombie(pid_t pid)
    {
        for (int i = 0; i < 500; ++i) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ")) {
                return true;
            }
            QThread::msleep(10);
        }
        return false;
    }

private Q_SLOTS:
    void thisProcess()
    {
        const qint64 pid = QCoreApplication::applicationPid();
        QVERIFY(ProcessTable::processExists(pid));
        // The kernel keeps the first 15 bytes of the executable's name.
        const QString executable = QCoreApplication::applicationFilePath();
        QCOMPARE(ProcessTable::processName(pid), QFileInfo(executable).fileName().left(15));
        QCOMPARE(ProcessTable::executablePath(pid), QFileInfo(executable).canonicalFilePath());
    }

    void noSuchProcess_data()
    {
        QTest::addColumn<qint64>("pid");
        QTest::newRow("zero") << qint64(0);
        QTest::newRow("negative") << qint64(-5);
        // Beyond the kernel's largest process identifier (4194304).
        QTest::newRow("too large") << qint64(999999999);
    }

    void noSuchProcess()
    {
        QFETCH(qint64, pid);
        QVERIFY(!ProcessTable::processExists(pid));
        QCOMPARE(ProcessTable::processName(pid), QString());
        QCOMPARE(ProcessTable::executablePath(pid), QString());
    }

    void endedProcessAwaitingCollection()
    {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            _exit(0);
        }
        QVERIFY(waitForZombie(child));
        const bool exists = ProcessTable::processExists(child);
        waitpid(child, nullptr, 0);
        QVERIFY(!exists);
        QVERIFY(!ProcessTable::processExists(child));
    }

    // A process name may hold spaces and parentheses, even ") Z ", which
    // must not be read as the state of an ended process.
    void nameThatLooksLikeState()
    {
        const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
        QVERIFY(!sleep.isEmpty());
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString program = dir.filePath(QStringLiteral("x) Z (y"));
        QVERIFY(QFile::copy(sleep, program));
        QProcess process;
        process.start(program, {QStringLiteral("30")});
        QVERIFY(process.waitForStarted());
        const qint64 pid = process.processId();
        QTRY_COMPARE(ProcessTable::processName(pid), QStringLiteral("x) Z (y"));
        QVERIFY(ProcessTable::processExists(pid));
        QCOMPARE(ProcessTable::executablePath(pid), QFileInfo(program).canonicalFilePath());
        process.kill();
        process.waitForFinished();
        QVERIFY(!ProcessTable::processExists(pid));
    }
};

TROVIX_TEST_GUILESS_MAIN(ProcessesTest)
#include "processes_test.moc"
