#include "app/QXAlert.h"

#include "platform/application/Activation.h"

#include <QMessageBox>

namespace QXAlert {
namespace {

Presenter& installedPresenter()
{
    static Presenter presenter;
    return presenter;
}

} // namespace

void runModal(const QString& message, const QString& informativeText)
{
    if (installedPresenter()) {
        installedPresenter()(message, informativeText);
        return;
    }
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QStringLiteral("Trovix"));
    box.setText(message);
    box.setInformativeText(informativeText);
    box.setStandardButtons(QMessageBox::Ok);
    platform::Activation::current().activateIgnoringOtherApps();
    box.exec();
}

void setPresenterForTesting(Presenter presenter)
{
    installedPresenter() = std::move(presenter);
}

} // namespace QXAlert
