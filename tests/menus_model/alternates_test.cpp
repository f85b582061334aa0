// Which item an alternate stands in for, and what a reader sees while
// modifiers are held.
#include "platform/menus/Menu.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::Menu;
using platform::MenuItem;
using platform::ModifierFlags;
namespace ModifierFlag = platform::ModifierFlag;

namespace {

// Builds a menu from entries "title:key:mask[:alt][:hidden]" or "-".
void fillFrom(Menu& menu, const QStringList& entries)
{
    for (const QString& entry : entries) {
        if (entry == u"-") {
            menu.addSeparator();
            continue;
        }
        const QStringList parts = entry.split(u':');
        MenuItem* item = menu.addItem(parts.value(0), QStringLiteral("act:"), [](MenuItem&) {});
        item->setKeyEquivalent(parts.value(1));
        item->setKeyEquivalentModifierMask(parts.value(2).toULongLong(nullptr, 16));
        item->setAlternate(parts.contains(QStringLiteral("alt")));
        item->setHidden(parts.contains(QStringLiteral("hidden")));
    }
}

QStringList shownTitles(const Menu& menu, ModifierFlags modifiers)
{
    QStringList titles;
    for (const MenuItem* item : menu.itemsShownWithModifiers(modifiers)) {
        titles.append(item->isSeparatorItem() ? QStringLiteral("-") : item->title());
    }
    return titles;
}

} // namespace

class AlternatesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shownItems_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<ModifierFlags>("held");
        QTest::addColumn<QStringList>("shown");
        const QStringList programMenu{"About::100000",  "-", "Preferences...::100000",
                                      "Log::80000:alt", "-", "Quit::100000"};
        QTest::newRow("nothing held") << programMenu << ModifierFlags(0)
                                      << QStringList{"About", "-", "Preferences...", "-", "Quit"};
        QTest::newRow("option held")
            << programMenu << ModifierFlag::Option << QStringList{"About", "-", "Log", "-", "Quit"};
        QTest::newRow("option with a side bit")
            << programMenu << (ModifierFlag::Option | ModifierFlag::LeftOption)
            << QStringList{"About", "-", "Log", "-", "Quit"};
        QTest::newRow("option and shift: no exact match")
            << programMenu << (ModifierFlag::Option | ModifierFlag::Shift)
            << QStringList{"About", "-", "Preferences...", "-", "Quit"};

        const QStringList closeMenu{"Close:w:100000", "Close All:w:180000:alt",
                                    "Close Hidden:w:1A0000:alt:hidden", "Quit:q:100000"};
        QTest::newRow("alternate adding option, option held")
            << closeMenu << ModifierFlag::Option << QStringList{"Close All", "Quit"};
        QTest::newRow("alternate adding option, command and option held")
            << closeMenu << (ModifierFlag::Command | ModifierFlag::Option)
            << QStringList{"Close All", "Quit"};
        QTest::newRow("alternate adding option, command held")
            << closeMenu << ModifierFlag::Command << QStringList{"Close", "Quit"};
        QTest::newRow("alternate adding nothing needs its whole mask")
            << QStringList{"Save:s:120000", "Save Now:s:20000:alt"} << ModifierFlags(0)
            << QStringList{"Save"};
        QTest::newRow("alternate adding nothing, its mask held")
            << QStringList{"Save:s:120000", "Save Now:s:20000:alt"} << ModifierFlag::Shift
            << QStringList{"Save Now"};
        QTest::newRow("hidden alternate never shows")
            << closeMenu << (ModifierFlag::Command | ModifierFlag::Option | ModifierFlag::Shift)
            << QStringList{"Close", "Quit"};
        QTest::newRow("hidden primary: only its alternate")
            << QStringList{"Prefs::100000:hidden", "Log::80000:alt"} << ModifierFlag::Option
            << QStringList{"Log"};
        QTest::newRow("hidden primary, nothing held")
            << QStringList{"Prefs::100000:hidden", "Log::80000:alt"} << ModifierFlags(0)
            << QStringList{};
        QTest::newRow("key equivalents pair regardless of case")
            << QStringList{"Close:w:100000", "Close All:W:180000:alt"} << ModifierFlag::Option
            << QStringList{"Close All"};
        QTest::newRow("second alternate of one primary")
            << QStringList{"Close:w:100000", "All:w:180000:alt", "Force:w:140000:alt"}
            << ModifierFlag::Control << QStringList{"Force"};
        QTest::newRow("a separator ends the pairing")
            << QStringList{"Prefs::100000", "-", "Log::80000:alt"} << ModifierFlags(0)
            << QStringList{"Prefs", "-", "Log"};
        QTest::newRow("unpaired alternate shows as an item")
            << QStringList{"Open:o:100000", "Log::80000:alt"} << ModifierFlags(0)
            << QStringList{"Open", "Log"};
    }
    void shownItems()
    {
        QFETCH(QStringList, entries);
        QFETCH(ModifierFlags, held);
        QFETCH(QStringList, shown);
        Menu menu;
        fillFrom(menu, entries);
        QCOMPARE(shownTitles(menu, held), shown);
    }
};

TROVIX_TEST_GUILESS_MAIN(AlternatesTest)
#include "alternates_test.moc"
