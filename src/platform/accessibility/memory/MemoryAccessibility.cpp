#include "platform/accessibility/memory/MemoryAccessibility.h"

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuKeyBinding.h"
#include "platform/accessibility/WindowMenuCommand.h"
#include "platform/accessibility/memory/MemoryElement.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointF>

namespace platform {

using namespace platform::accessibility;

struct MemoryAccessibility::Application
{
    std::shared_ptr<MemoryApplicationState> state;
    std::shared_ptr<MemoryElement> element;
    std::shared_ptr<MemoryElement> menuBar;
};

namespace {

MemoryElement* memoryElement(const AccessibilityElement& element)
{
    return dynamic_cast<MemoryElement*>(element.node().get());
}

// Builds the tree of one application from its description.
class TreeBuilder
{
public:
    TreeBuilder(std::shared_ptr<MemoryAccessibilityState> state,
                std::shared_ptr<MemoryApplicationState> application)
        : m_state(std::move(state)), m_application(std::move(application))
    {}

    std::shared_ptr<MemoryElement> menuBar(const QJsonObject& description)
    {
        m_gtk = description.value(QStringLiteral("toolkit")).toString() == QStringLiteral("gtk");
        auto bar = make(QString(MenuBarRole));
        bar->addChild(windowMenu());
        for (const QJsonValue& menu : description.value(QStringLiteral("menus")).toArray()) {
            bar->addChild(item(menu.toObject(), QString(MenuBarItemRole), QString(), nullptr));
        }
        return bar;
    }

private:
    std::shared_ptr<MemoryElement> make(const QString& role)
    {
        return std::make_shared<MemoryElement>(m_state, m_application, role);
    }

    QPointF nextPosition() { return QPointF(10.0, 20.0 * ++m_positions); }

    std::shared_ptr<MemoryElement> windowMenu()
    {
        auto barItem = make(QString(MenuBarItemRole));
        barItem->setAttribute(TitleAttribute, windowMenuTitle());
        barItem->setAttribute(EnabledAttribute, true);
        barItem->setAttribute(PositionAttribute, nextPosition());
        barItem->setPressPath(windowMenuTitle());
        auto menu = make(QString(MenuRole));
        for (const WindowMenuCommand command :
             {WindowMenuCommand::Minimize, WindowMenuCommand::Maximize,
              WindowMenuCommand::KeepAbove, WindowMenuCommand::Close}) {
            auto entry = make(QString(MenuItemRole));
            entry->setAttribute(TitleAttribute, windowMenuCommandTitle(command));
            entry->setAttribute(EnabledAttribute, true);
            entry->setAttribute(PositionAttribute, nextPosition());
            entry->setPressPath(windowMenuTitle() + QStringLiteral(" > ") +
                                windowMenuCommandTitle(command));
            menu->addChild(entry);
        }
        barItem->addChild(menu);
        return barItem;
    }

    std::shared_ptr<MemoryElement> item(const QJsonObject& description, const QString& role,
                                        const QString& parentPath,
                                        const QList<std::shared_ptr<MemoryElement>>* siblings)
    {
        auto element = make(role);
        const bool separator = description.value(QStringLiteral("separator")).toBool();
        const QString title =
            separator ? QString() : description.value(QStringLiteral("title")).toString();
        const QString path =
            parentPath.isEmpty() ? title : parentPath + QStringLiteral(" > ") + title;
        element->setAttribute(TitleAttribute, title);
        element->setAttribute(EnabledAttribute,
                              !separator &&
                                  description.value(QStringLiteral("enabled")).toBool(true));
        if (!description.value(QStringLiteral("hidden")).toBool()) {
            element->setAttribute(PositionAttribute, nextPosition());
        }
        element->setPressPath(path);

        const QString check = description.value(QStringLiteral("check")).toString();
        if (check == QStringLiteral("checked")) {
            element->setAttribute(MarkCharAttribute, QString(QChar(CheckedMark)));
        } else if (check == QStringLiteral("mixed")) {
            element->setAttribute(MarkCharAttribute, QString(QChar(MixedMark)));
        }

        const std::optional<MenuKeyBinding> binding = keyBinding(description, title);
        if (binding) {
            if (!binding->character().isEmpty()) {
                element->setAttribute(CmdCharAttribute, binding->character());
            }
            if (binding->virtualKey()) {
                element->setAttribute(CmdVirtualKeyAttribute, *binding->virtualKey());
            }
            element->setAttribute(CmdModifiersAttribute, binding->modifiers());
        }

        const QString primaryTitle = description.value(QStringLiteral("alternateOf")).toString();
        if (!primaryTitle.isEmpty() && siblings) {
            for (const auto& sibling : *siblings) {
                if (sibling->title() == primaryTitle) {
                    element->setPrimary(sibling);
                }
            }
        }

        if (description.contains(QStringLiteral("items"))) {
            auto menu = make(QString(MenuRole));
            menu->setPressPath(path);
            for (const QJsonValue& child : description.value(QStringLiteral("items")).toArray()) {
                menu->addChild(
                    item(child.toObject(), QString(MenuItemRole), path, &menu->children()));
            }
            element->addChild(menu);
        }
        return element;
    }

    // The key equivalent the AT-SPI backend reads from what the toolkit
    // publishes: Qt publishes the shortcut, else the mnemonic as "Alt+"
    // and the character; GTK keeps the mnemonic in a field of its own. An
    // item that opens a submenu has none.
    std::optional<MenuKeyBinding> keyBinding(const QJsonObject& description,
                                             const QString& title) const
    {
        if (description.contains(QStringLiteral("items"))) {
            return std::nullopt;
        }
        const QString published = description.value(QStringLiteral("keyBinding")).toString();
        if (!published.isEmpty()) {
            return MenuKeyBinding::fromKeyBindingText(published, title);
        }
        QString shortcut = description.value(QStringLiteral("shortcut")).toString();
        if (m_gtk) {
            return MenuKeyBinding::fromKeyBindingText(shortcut);
        }
        const QString mnemonic = description.value(QStringLiteral("mnemonic")).toString();
        if (shortcut.isEmpty() && !mnemonic.isEmpty()) {
            shortcut = QStringLiteral("Alt+") + mnemonic;
        }
        return MenuKeyBinding::fromKeyBindingText(shortcut, title);
    }

    std::shared_ptr<MemoryAccessibilityState> m_state;
    std::shared_ptr<MemoryApplicationState> m_application;
    bool m_gtk = false;
    int m_positions = 0;
};

} // namespace

MemoryAccessibility::MemoryAccessibility()
    : m_state(std::make_shared<MemoryAccessibilityState>()),
      m_systemWide(
          std::make_shared<MemoryElement>(m_state, nullptr, QStringLiteral("AXSystemWide")))
{}

MemoryAccessibility::~MemoryAccessibility() = default;

bool MemoryAccessibility::isTrusted(bool prompt)
{
    ++m_trustChecks;
    if (!m_trusted && prompt) {
        ++m_prompts;
        m_trusted = m_promptGrants;
    }
    return m_trusted;
}

AccessibilityUnavailability MemoryAccessibility::unavailability() const
{
    return m_trusted ? AccessibilityUnavailability() : m_unavailability;
}

AccessibilityElement MemoryAccessibility::systemWideElement()
{
    return m_systemWideAvailable ? AccessibilityElement(m_systemWide) : AccessibilityElement();
}

AccessibilityElement MemoryAccessibility::applicationElement(qint64 pid)
{
    const auto found = m_applications.constFind(pid);
    if (found == m_applications.constEnd()) {
        return {};
    }
    return AccessibilityElement((*found)->element);
}

void MemoryAccessibility::addApplication(qint64 pid, const QJsonObject& description)
{
    addApplicationWithoutMenuBar(pid, description.value(QStringLiteral("name")).toString());
    auto& application = m_applications[pid];
    application->menuBar = TreeBuilder(m_state, application->state).menuBar(description);
    application->element->setMenuBar(application->menuBar);
}

bool MemoryAccessibility::addApplicationFromFile(qint64 pid, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject()) {
        return false;
    }
    addApplication(pid, document.object());
    return true;
}

struct MemoryAccessibility::MenuWatch
{
    std::function<void()> changed;
};

std::shared_ptr<void> MemoryAccessibility::watchMenus(qint64 pid, std::function<void()> changed)
{
    auto watch = std::make_shared<MenuWatch>(MenuWatch{std::move(changed)});
    m_menuWatches.insert(pid, watch);
    return watch;
}

void MemoryAccessibility::notifyMenusChanged(qint64 pid)
{
    // Each watch is told once; the list is taken first, as a watcher may
    // start a new watch.
    const QList<std::weak_ptr<MenuWatch>> watches = m_menuWatches.values(pid);
    m_menuWatches.remove(pid);
    for (const std::weak_ptr<MenuWatch>& weak : watches) {
        if (const std::shared_ptr<MenuWatch> watch = weak.lock()) {
            watch->changed();
        }
    }
}

int MemoryAccessibility::menuWatchCount(qint64 pid) const
{
    int live = 0;
    for (auto it = m_menuWatches.constFind(pid); it != m_menuWatches.cend() && it.key() == pid;
         ++it) {
        live += it.value().expired() ? 0 : 1;
    }
    return live;
}

void MemoryAccessibility::addApplicationWithoutMenuBar(qint64 pid, const QString& name)
{
    notifyMenusChanged(pid);
    auto application = std::make_shared<Application>();
    application->state = std::make_shared<MemoryApplicationState>();
    application->state->pid = pid;
    application->element =
        std::make_shared<MemoryElement>(m_state, application->state, QString(ApplicationRole));
    application->element->setAttribute(TitleAttribute, name);
    m_applications.insert(pid, application);
}

void MemoryAccessibility::removeApplication(qint64 pid)
{
    notifyMenusChanged(pid);
    const auto application = m_applications.take(pid);
    if (application) {
        application->element->vanishAfter(0);
        if (application->menuBar) {
            application->menuBar->vanishAfter(0);
        }
    }
}

void MemoryAccessibility::setLacksAccessibilityBridge(qint64 pid, bool lacks)
{
    if (lacks) {
        m_withoutBridge.insert(pid);
    } else {
        m_withoutBridge.remove(pid);
    }
}

bool MemoryAccessibility::lacksAccessibilityBridge(qint64 pid)
{
    return m_withoutBridge.contains(pid);
}

AccessibilityElement MemoryAccessibility::element(qint64 pid, const QStringList& titles) const
{
    const auto application = m_applications.value(pid);
    if (!application || !application->menuBar) {
        return {};
    }
    std::shared_ptr<MemoryElement> current = application->menuBar;
    for (qsizetype i = 0; i < titles.size(); ++i) {
        // Below the menu bar, the items of a menu are the children of the
        // item's only AXMenu child.
        QList<std::shared_ptr<MemoryElement>> candidates = current->children();
        if (current->role() != MenuBarRole) {
            if (candidates.isEmpty()) {
                return {};
            }
            candidates = candidates.first()->children();
        }
        std::shared_ptr<MemoryElement> next;
        for (const auto& candidate : std::as_const(candidates)) {
            if (candidate->title() == titles.at(i)) {
                next = candidate;
                break;
            }
        }
        if (!next) {
            return {};
        }
        current = next;
    }
    return AccessibilityElement(current);
}

void MemoryAccessibility::setTrusted(bool trusted)
{
    m_trusted = trusted;
}

void MemoryAccessibility::setPromptGrantsTrust(bool grants)
{
    m_promptGrants = grants;
}

void MemoryAccessibility::setUnavailability(const AccessibilityUnavailability& unavailability)
{
    m_unavailability = unavailability;
}

int MemoryAccessibility::trustChecks() const
{
    return m_trustChecks;
}

int MemoryAccessibility::prompts() const
{
    return m_prompts;
}

void MemoryAccessibility::setSystemWideElementAvailable(bool available)
{
    m_systemWideAvailable = available;
}

float MemoryAccessibility::messagingTimeout() const
{
    return m_state->messagingTimeout;
}

QList<float> MemoryAccessibility::appliedMessagingTimeouts() const
{
    return m_state->appliedTimeouts;
}

void MemoryAccessibility::setRequestDelay(double seconds)
{
    m_state->delay = seconds;
}

void MemoryAccessibility::setApplicationDelay(qint64 pid, double seconds)
{
    const auto application = m_applications.value(pid);
    if (application) {
        application->state->delay = seconds;
    }
}

void MemoryAccessibility::setElementDelay(const AccessibilityElement& element, double seconds)
{
    if (MemoryElement* node = memoryElement(element)) {
        node->setDelay(seconds);
    }
}

void MemoryAccessibility::setSleepsForDelays(bool sleeps)
{
    m_state->sleeps = sleeps;
}

void MemoryAccessibility::failAttribute(const AccessibilityElement& element, const QString& name)
{
    if (MemoryElement* node = memoryElement(element)) {
        node->failAttribute(name);
    }
}

void MemoryAccessibility::vanishElement(const AccessibilityElement& element, int requests)
{
    if (MemoryElement* node = memoryElement(element)) {
        node->vanishAfter(requests);
    }
}

void MemoryAccessibility::setClaimedChildCount(const AccessibilityElement& menu, qint64 count)
{
    if (MemoryElement* node = memoryElement(menu)) {
        node->setClaimedChildCount(count);
    }
}

void MemoryAccessibility::addChildElement(const AccessibilityElement& parent,
                                          const AccessibilityElement& child)
{
    MemoryElement* node = memoryElement(parent);
    auto childNode = std::dynamic_pointer_cast<MemoryElement>(child.node());
    if (node && childNode) {
        node->addLinkedChild(childNode);
    }
}

qint64 MemoryAccessibility::messagingTimeoutMs() const
{
    return qint64(double(m_state->messagingTimeout) * 1000.0);
}

quint64 MemoryAccessibility::timedOutRequests() const
{
    return m_state->timedOutRequests;
}

int MemoryAccessibility::requestCount() const
{
    return m_state->requests;
}

int MemoryAccessibility::requestCount(const QString& attributeOrAction) const
{
    return m_state->requestsByAttribute.value(attributeOrAction);
}

double MemoryAccessibility::elapsedSeconds() const
{
    return m_state->elapsed;
}

void MemoryAccessibility::resetCounters()
{
    m_state->requests = 0;
    m_state->requestsByAttribute.clear();
    m_state->elapsed = 0.0;
    m_state->pressed.clear();
}

QStringList MemoryAccessibility::pressedItems() const
{
    return m_state->pressed;
}

} // namespace platform
