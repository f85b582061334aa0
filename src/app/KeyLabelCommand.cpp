#include "app/KeyLabelCommand.h"

#include "foundation/QXExtension.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <optional>
#include <unistd.h>

namespace {

QString usage()
{
    return QCoreApplication::translate("Trovix", "usage: trovix key-label [--follow] CODE...");
}

std::optional<quint16> keyCodeFromWord(const QString& word)
{
    bool ok = false;
    const uint value = word.toUInt(&ok, 10);
    if (!ok || value > 0xFFFF) {
        return std::nullopt;
    }
    return quint16(value);
}

// One line per word; false when a word is not a key code.
bool printLabels(const QStringList& words, QTextStream& out, QTextStream& err)
{
    bool allValid = true;
    for (const QString& word : words) {
        const std::optional<quint16> keyCode = keyCodeFromWord(word);
        if (!keyCode) {
            err << QCoreApplication::translate("Trovix", "not a key code: %1").arg(word)
                << Qt::endl;
            out << Qt::endl;
            allValid = false;
            continue;
        }
        out << QXExtension::stringRepresentingKeyCode(*keyCode, false).value_or(QString())
            << Qt::endl;
    }
    out.flush();
    return allValid;
}

// Answers each line of standard input until it ends.
void followStandardInput(QTextStream& out, QTextStream& err)
{
    QFile input;
    // Unbuffered, so that every line left in the pipe wakes the notifier again.
    if (!input.open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return;
    }
    QEventLoop loop;
    QSocketNotifier notifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        const QByteArray line = input.readLine();
        if (line.isEmpty()) {
            loop.quit(); // end of input
            return;
        }
        // Let layout changes that happened before this line arrive first.
        QGuiApplication::sync();
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        printLabels(QString::fromUtf8(line).split(blanks, Qt::SkipEmptyParts), out, err);
    });
    loop.exec();
}

} // namespace

int runKeyLabelCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList codes = arguments;
    const bool follow = codes.removeAll(QStringLiteral("--follow")) > 0;
    if (codes.isEmpty() && !follow) {
        err << usage() << Qt::endl;
        return 1;
    }
    bool allValid = printLabels(codes, out, err);
    if (follow) {
        followStandardInput(out, err);
    }
    return allValid ? 0 : 1;
}

int keyLabelCommandMain(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        QCoreApplication application(argc, argv);
        QTextStream err(stderr);
        err << QCoreApplication::translate("Trovix",
                                           "trovix key-label: no X display (DISPLAY is not set)")
            << Qt::endl;
        return 1;
    }
    // Labels come from the X server's keyboard layout. A display that cannot be
    // reached leaves Qt on the offscreen platform instead of aborting.
    qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
    QGuiApplication application(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        QTextStream err(stderr);
        err << QCoreApplication::translate("Trovix",
                                           "trovix key-label: cannot connect to the X display %1")
                   .arg(qEnvironmentVariable("DISPLAY"))
            << Qt::endl;
        return 1;
    }
    QStringList arguments = QCoreApplication::arguments().mid(2);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runKeyLabelCommand(arguments, out, err);
}
