// The update window in a narrow tile: nothing of it is cut off.
#include "platform/updates/appcast/UpdateAlertWindow.h"
#include "support/TestProgram.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace platform;

class UpdateWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A tiling compositor makes the window as narrow as it likes (a quarter
    // of a small screen): there the buttons stack, each whole and inside the
    // window, and the texts wrap inside it; wide again, the buttons are side
    // by side.
    void narrowWindowStacksTheButtons()
    {
        UpdateAlertWindow window(QStringLiteral("Trovix"), QStringLiteral("1.0"));
        AppcastItem item;
        item.version = QStringLiteral("99.0");
        item.description = QStringLiteral("Menus open faster.");
        item.link = QUrl(QStringLiteral("https://www.quirkworks.com/trovix"));
        window.setItem(item);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QList<QWidget*> buttons = {window.skipButton(), window.remindLaterButton(),
                                         window.downloadButton()};
        QList<QWidget*> parts = buttons;
        for (QLabel* label : window.findChildren<QLabel*>()) {
            parts.append(label);
        }
        const auto faults = [&window, &parts] {
            QStringList found;
            for (const QWidget* part : std::as_const(parts)) {
                const QRect area(part->mapTo(&window, QPoint()), part->size());
                const bool squeezed = part->width() < part->minimumSizeHint().width() ||
                                      (part->hasHeightForWidth() &&
                                       part->height() < part->heightForWidth(part->width()));
                if (part->isVisible() && (squeezed || !window.rect().contains(area))) {
                    found << part->accessibleName();
                }
            }
            return found;
        };
        const auto tops = [&buttons, &window] {
            QSet<int> found;
            for (const QWidget* button : buttons) {
                found.insert(button->mapTo(&window, QPoint()).y());
            }
            return found.size();
        };

        window.resize(1, 600); // as narrow as the window goes
        QTRY_VERIFY2(faults().isEmpty(), qPrintable(faults().join(u", ")));
        QVERIFY2(window.width() < 300, qPrintable(QString::number(window.width())));
        QCOMPARE(tops(), 3);
        window.resize(700, 600);
        QTRY_COMPARE(tops(), 1);
        QVERIFY2(faults().isEmpty(), qPrintable(faults().join(u", ")));
    }
};

TROVIX_TEST_MAIN(UpdateWindowTest)
#include "update_window_test.moc"
