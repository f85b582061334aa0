// Help pages are HTML files anyone can drop into the per-user help folder.
// Each input is one page: it is parsed into its record, indexed, and searched
// for its own words and for its text.
// fuzz-max-len: 2097152
#include "help/QXHelpIndexContents.h"
#include "help/QXHelpPageParser.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = QStringLiteral("page.html");
    QXHelpPageRecord record = QXHelpPageParser::pageRepresentationForData(path, bytes);
    if (record.title.isEmpty() || record.index.isEmpty())
        __builtin_trap();
    for (const QString& word : record.words) {
        if (word.size() < 2)
            __builtin_trap();
    }
    if (record.words.isEmpty() && (!record.anchors.isEmpty() || record.quickAccess))
        __builtin_trap();

    const QStringList words = record.words;
    const QString text = record.text.left(200);
    const auto contents = QXHelpIndexContents::fromRecords({}, {{path, {}}}, {std::move(record)});
    (void)QXHelpIndexContents::groupAnchorsByCategory(contents->records());
    if (!words.isEmpty() && contents->search(words.first(), 0, {}).size() != 1)
        __builtin_trap();
    (void)contents->search(text, 0, path);
    return 0;
}
