#include "app/QXNotice.h"

#include <QApplication>
#include <QMessageBox>

namespace QXNotice {

void present(Kind kind, const QString& title, const QString& text, const Presenter& presenter)
{
    if (presenter) {
        presenter(title, text);
        return;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return;
    }
    auto* box =
        new QMessageBox(kind == Kind::Warning ? QMessageBox::Warning : QMessageBox::Information,
                        title, text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAccessibleName(title);
    box->open();
}

} // namespace QXNotice
