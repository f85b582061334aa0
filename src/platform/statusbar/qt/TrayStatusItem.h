#pragma once

#include "platform/statusbar/StatusItem.h"

#include <QObject>
#include <memory>

class QSystemTrayIcon;

namespace platform {

class MenuPresenter;

// A tray icon that opens its menu on a left or a right click.
class TrayStatusItem : public QObject, public StatusItem
{
    Q_OBJECT

public:
    explicit TrayStatusItem(double length);
    ~TrayStatusItem() override;

    double length() const override { return m_length; }
    void setImage(const QImage& image, bool isTemplate) override;
    void setAlternateImage(const QImage& image, bool isTemplate) override;
    void setHighlightMode(bool highlight) override { Q_UNUSED(highlight); }
    void setAutosaveName(const QString& name) override;
    void setMenu(Menu* menu) override;
    Menu* menu() const override { return m_menu; }

private:
    void openMenu();

    double m_length;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<MenuPresenter> m_presenter;
    Menu* m_menu = nullptr;
};

} // namespace platform
