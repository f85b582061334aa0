#include "platform/statusbar/qt/TrayStatusItem.h"

#include "platform/menus/Menu.h"
#include "platform/menus/qt/MenuPresenter.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QSystemTrayIcon>

namespace platform {
namespace {

// A template image keeps only its shape; it is drawn in the text colour of
// the panel around the tray.
QImage tinted(const QImage& image, bool isTemplate)
{
    if (!isTemplate || image.isNull()) {
        return image;
    }
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(result.rect(), QApplication::palette().color(QPalette::WindowText));
    return result;
}

} // namespace

TrayStatusItem::TrayStatusItem(double length)
    : m_length(length), m_icon(std::make_unique<QSystemTrayIcon>())
{
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    openMenu();
                }
            });
    m_icon->setToolTip(QApplication::applicationName());
}

TrayStatusItem::~TrayStatusItem()
{
    m_icon->hide();
    m_icon->setContextMenu(nullptr);
}

void TrayStatusItem::setImage(const QImage& image, bool isTemplate)
{
    m_icon->setIcon(QIcon(QPixmap::fromImage(tinted(image, isTemplate))));
    m_icon->show();
}

void TrayStatusItem::setAlternateImage(const QImage& image, bool isTemplate)
{
    // Trays draw their own pressed state.
    Q_UNUSED(image);
    Q_UNUSED(isTemplate);
}

void TrayStatusItem::setAutosaveName(const QString& name)
{
    // Trays place icons themselves; the name helps tell icons apart.
    m_icon->setObjectName(name);
}

void TrayStatusItem::setMenu(Menu* menu)
{
    m_icon->setContextMenu(nullptr);
    m_presenter.reset();
    m_menu = menu;
    if (menu != nullptr) {
        m_presenter = std::make_unique<MenuPresenter>(*menu);
        m_icon->setContextMenu(m_presenter->qmenu());
    }
}

void TrayStatusItem::openMenu()
{
    // A left click opens the menu as a right click does.
    if (m_presenter && !m_presenter->qmenu()->isVisible()) {
        m_presenter->qmenu()->popup(QCursor::pos());
    }
}

} // namespace platform
