#pragma once

#include "help/QXHelpIndex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A temporary home for help books: a bundle's Resources folder and a per-user
// data folder, pages written by the test, and indexes built from them.
class HelpBookFolder
{
public:
    QString root() const { return m_dir.path(); }
    QString resources() const { return root() + QStringLiteral("/Resources"); }
    QString dataHome() const { return root() + QStringLiteral("/data"); }
    QString bundleBook() const { return resources() + QStringLiteral("/TestHelp"); }

    QXHelpBookSource source() const
    {
        return {QStringLiteral("TestHelp"), dataHome() + QStringLiteral("/Test"), resources()};
    }

    static void write(const QString& path, const QByteArray& contents)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    // A page in the bundle's book, with body text and optional head markup.
    void writePage(const QString& relativePath, const QByteArray& body,
                   const QByteArray& head = {}) const
    {
        write(bundleBook() + QLatin1Char('/') + relativePath,
              "<html><head>" + head + "</head><body>" + body + "</body></html>");
    }

    // An index of the book, built and waited for.
    std::unique_ptr<QXHelpIndex> readyIndex() const
    {
        auto index = std::make_unique<QXHelpIndex>(source(), QStringLiteral("Test Help"));
        index->build();
        // Waits for the build itself; the cap only guards against a hang.
        if (!QTest::qWaitFor([&index] { return index->isReady(); }, 60000))
            return nullptr;
        return index;
    }

private:
    QTemporaryDir m_dir;
};
