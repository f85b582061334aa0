#include "app/QXStatusItemController.h"

#include "app/QXSettingsKeys.h"
#include "foundation/QXLocalized.h"
#include "platform/application/Activation.h"
#include "platform/bundle/Bundle.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuDelegate.h"
#include "platform/statusbar/StatusBar.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

constexpr double maximumStatusItemWidth = 100.0;

} // namespace

QXStatusItemController& QXStatusItemController::defaultController()
{
    static QXStatusItemController controller;
    return controller;
}

QXStatusItemController::~QXStatusItemController()
{
    // The menu must go after the item that shows it.
    m_statusItem.reset();
    m_menu.reset();
}

double QXStatusItemController::statusItemWidth(double imageWidth, qint64 requestedWidth)
{
    const double minimum = imageWidth;
    const auto requested = static_cast<double>(requestedWidth);
    if (requested < minimum) {
        return minimum;
    }
    return std::min(requested, maximumStatusItemWidth);
}

QImage QXStatusItemController::namedImage(const QString& name)
{
    // The double-resolution drawing is preferred; both are sized in points.
    const platform::Bundle& bundle = platform::Bundle::main();
    QImage image;
    const QString doublePath =
        bundle.pathForResource(name + QStringLiteral("@2x"), QStringLiteral("png"));
    if (!doublePath.isEmpty() && image.load(doublePath)) {
        image.setDevicePixelRatio(2.0);
        return image;
    }
    const QString path = bundle.pathForResource(name, QStringLiteral("png"));
    if (!path.isEmpty() && image.load(path)) {
        return image;
    }
    return {};
}

void QXStatusItemController::setStatusItemEnabled(bool enabled, const QImage& image,
                                                  const QImage& alternateImage,
                                                  platform::MenuDelegate* menuDelegate,
                                                  bool activateAfterDisabling)
{
    if (enabled && !m_statusItem) {
        platform::StatusBar& statusBar = platform::StatusBar::system();
        if (!statusBar.isAvailable()) {
            static bool logged = false;
            if (!logged) {
                logged = true;
                platform::systemLog(QStringLiteral(
                    "no system tray on this desktop: the status item appears when one starts"));
            }
        }
        m_image = image.isNull() ? namedImage(QStringLiteral("QXStatusItemTemplate")) : image;
        m_alternateImage = alternateImage.isNull()
                               ? namedImage(QStringLiteral("QXStatusItemAlternate"))
                               : alternateImage;
        const double imageWidth = m_image.deviceIndependentSize().width();
        const double width = statusItemWidth(
            imageWidth,
            platform::UserDefaults::standard().integerForKey(QXSettingsKeys::StatusItemWidth));
        m_statusItem = statusBar.statusItemWithLength(width);
        const platform::Bundle& bundle = platform::Bundle::main();
        m_statusItem->setAutosaveName(bundle.bundleIdentifier() + QStringLiteral(".StatusItem"));
        m_statusItem->setImage(m_image, true);
        m_statusItem->setAlternateImage(m_alternateImage, true);
        m_statusItem->setHighlightMode(true);
        if (menuDelegate != nullptr) {
            m_menu = std::make_unique<platform::Menu>(
                QXLocalized::tr("%1 Status Item").arg(bundle.name()));
            m_menu->setDelegate(menuDelegate);
            m_statusItem->setMenu(m_menu.get());
        }
        return;
    }
    if (enabled) {
        if (!image.isNull() && image != m_image) {
            m_image = image;
            m_statusItem->setImage(m_image, true);
        }
        if (!alternateImage.isNull() && alternateImage != m_alternateImage) {
            m_alternateImage = alternateImage;
            m_statusItem->setAlternateImage(m_alternateImage, true);
        }
        if (menuDelegate != nullptr && m_menu && m_menu->delegate() != menuDelegate) {
            m_menu->setDelegate(menuDelegate);
        }
        return;
    }
    if (m_statusItem) {
        reset();
        if (activateAfterDisabling) {
            platform::Activation::current().activateIgnoringOtherApps();
        }
    }
}

void QXStatusItemController::setStatusItemEnabled(bool enabled, const QImage& image,
                                                  const QImage& alternateImage,
                                                  platform::MenuDelegate* menuDelegate)
{
    setStatusItemEnabled(enabled, image, alternateImage, menuDelegate, true);
}

void QXStatusItemController::setStatusItemEnabled(bool enabled,
                                                  platform::MenuDelegate* menuDelegate)
{
    setStatusItemEnabled(enabled, QImage(), QImage(), menuDelegate);
}

void QXStatusItemController::setStatusItemEnabled(bool enabled)
{
    setStatusItemEnabled(enabled, nullptr);
}

void QXStatusItemController::reset()
{
    if (m_statusItem) {
        m_statusItem->setMenu(nullptr);
    }
    m_statusItem.reset();
    m_menu.reset();
    m_image = QImage();
    m_alternateImage = QImage();
}
