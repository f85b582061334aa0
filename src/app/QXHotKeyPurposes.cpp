#include "app/QXHotKeyPurposes.h"

#include "app/QXSettingsKeys.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>

namespace QXHotKeyPurposes {
namespace {

Question& testQuestion()
{
    static Question question;
    return question;
}

} // namespace

platform::HotKeyPurpose purposeForIdentifier(const QString& identifier)
{
    platform::HotKeyPurpose purpose;
    purpose.command = {QCoreApplication::applicationFilePath(), QStringLiteral("popup")};
    if (identifier == QXSettingsKeys::MenuTriggerAllApplications) {
        purpose.name = QStringLiteral("trovix-all");
        purpose.description =
            QCoreApplication::translate("Trovix", "Trovix: the menus of all applications");
        purpose.command.append(QStringLiteral("--all"));
    } else {
        purpose.name = QStringLiteral("trovix-front");
        purpose.description =
            QCoreApplication::translate("Trovix", "Trovix: the menu of the active application");
    }
    return purpose;
}

bool askToChangeDesktopSettings(QWidget* parent)
{
    if (testQuestion()) {
        return testQuestion()();
    }
    QMessageBox box(QMessageBox::Question,
                    QCoreApplication::translate("Trovix", "Add the hot keys to GNOME?"),
                    QCoreApplication::translate(
                        "Trovix", "In a Wayland session only GNOME itself sees the keys you "
                                  "type. Trovix can add its hot keys as custom shortcuts to "
                                  "GNOME's keyboard settings, where they run \"trovix popup\". "
                                  "Removing a hot key here removes its shortcut there; your "
                                  "other shortcuts stay as they are."),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.button(QMessageBox::Yes)
        ->setText(QCoreApplication::translate("Trovix", "Add to Keyboard Settings"));
    box.button(QMessageBox::No)->setText(QCoreApplication::translate("Trovix", "Don't Add"));
    box.setAccessibleName(box.windowTitle());
    return box.exec() == QMessageBox::Yes;
}

void setQuestionForTesting(Question question)
{
    testQuestion() = std::move(question);
}

} // namespace QXHotKeyPurposes
