#include "help/QXHelpManager.h"

#include "foundation/QXLocalized.h"
#include "help/QXBrowserWindow.h"
#include "help/QXHelpCommandLink.h"
#include "help/QXHelpIndex.h"
#include "help/QXHelpManagerDelegate.h"
#include "help/QXHelpManagerHeaderView.h"
#include "help/QXHelpManagerPageButton.h"
#include "platform/application/Activation.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

const QString QXHelpManager::IndexItem = QStringLiteral("Index");

namespace {

const QString OpenRelativePathKey = QStringLiteral("QXHelpManager: Open Relative Path");
const QString ListAnchorsInSubmenusKey = QStringLiteral("QXHelpManager: List Anchors In Submenus");
const QString CenterQuickAccessKey = QStringLiteral("QXHelpManager: Center Quick Access");

// How much of a link the log shows.
constexpr qsizetype LoggedLinkLength = 200;

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

// Every word with its first letter in upper case and the rest in lower case;
// any character that is not a letter starts a new word.
QString capitalized(const QString& text)
{
    QString result = text.toLower();
    bool wordStart = true;
    for (QChar& c : result) {
        if (c.isLetter()) {
            if (wordStart) {
                c = c.toUpper();
            }
            wordStart = false;
        } else {
            wordStart = true;
        }
    }
    return result;
}

QString anchorTarget(const QXHelpAnchorRecord& anchor)
{
    return QStringLiteral("%1#%2").arg(anchor.path, anchor.fragment);
}

void addAnchors(QMenu& menu, const QList<QXHelpAnchorRecord>& anchors, bool ownList)
{
    for (const QXHelpAnchorRecord& anchor : anchors) {
        const QString title = ownList && !anchor.category ? anchor.name : u"• " + anchor.name;
        menu.addAction(title)->setData(anchorTarget(anchor));
        if (ownList && anchor.isFollowedBySeparator()) {
            menu.addSeparator();
        }
    }
}

// The kind of value a setting holds, as a settings link writes it.
std::optional<QXHelpManager::SettingRule::Type> valueType(const QVariant& value)
{
    using Type = QXHelpManager::SettingRule::Type;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Type::Boolean;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return Type::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return Type::Number;
    case QMetaType::QString:
        return Type::String;
    default:
        return std::nullopt;
    }
}

QString forLog(const QString& link)
{
    return link.size() > LoggedLinkLength ? link.left(LoggedLinkLength) + u"…" : link;
}

} // namespace

QXHelpManager& QXHelpManager::helpManager()
{
    static QXHelpManager* manager = new QXHelpManager(std::make_unique<QXHelpIndex>());
    return *manager;
}

QXHelpManager::QXHelpManager(std::unique_ptr<QXHelpIndex> index, QObject* parent)
    : QXBrowserWindowController(parent), m_index(std::move(index))
{}

QXHelpManager::~QXHelpManager() = default;

// Opening pages ----------------------------------------------------------------

void QXHelpManager::whenIndexReady(std::function<void()> work)
{
    if (m_index->isReady() && m_index->hasPages()) {
        work();
        return;
    }
    m_index->whenReady(this, std::move(work));
}

void QXHelpManager::help()
{
    if (window()) {
        openPage({});
        return;
    }
    whenIndexReady([this] {
        if (!m_index->hasPages()) {
            showNoHelpBookAlert();
            return;
        }
        openPage({});
    });
}

bool QXHelpManager::showNoHelpBookAlert()
{
    const QString reason = m_index->emptyReason().isEmpty()
                               ? QXLocalized::tr("The help book could not be found.")
                               : m_index->emptyReason();
    platform::systemLog(QStringLiteral("help book unavailable: %1").arg(reason));
    runAlert({QXLocalized::tr("Help is not available"), reason, {QXLocalized::tr("OK")}});
    return false;
}

bool QXHelpManager::openPage(const QString& name, const QString& fragment, bool force)
{
    if (!force && window()) {
        window()->show();
        window()->raise();
        window()->activateWindow();
        platform::Activation::current().activateIgnoringOtherApps();
        return true;
    }
    if (!m_index->isReady()) {
        whenIndexReady([this, name, fragment, force] { openPage(name, fragment, force); });
        return true;
    }
    if (!m_index->hasPages()) {
        return showNoHelpBookAlert();
    }
    QString path;
    if (name.isEmpty()) {
        path = m_index->pageRepresentations().constFirst().path;
    } else {
        path = name + QStringLiteral(".html");
        if (!m_index->indexOfPage(path)) {
            // A name as a reader writes it: "Getting Started" for Getting%20Started.html.
            path =
                QString::fromLatin1(QUrl::toPercentEncoding(name, "/")) + QStringLiteral(".html");
        }
    }
    if (!openPageAtRelativePath(path, fragment, {})) {
        platform::systemLog(QStringLiteral("cannot open help page: %1").arg(forLog(name)));
        platform::Activation::current().beep();
        return false;
    }
    return true;
}

void QXHelpManager::openPage(const QString& name, const QString& fragment, bool force,
                             std::function<void(bool found)> opened)
{
    if (m_index->isReady() || (!force && window())) {
        opened(openPage(name, fragment, force));
        return;
    }
    m_index->whenReady(this, [this, name, fragment, force, opened = std::move(opened)] {
        opened(openPage(name, fragment, force));
    });
}

bool QXHelpManager::openPageAtRelativePath(const QString& relativePath, const QString& fragment,
                                           const QStringList& highlightWords)
{
    m_highlightWords = highlightWords;
    if (!m_index->isReady()) {
        whenIndexReady([this, relativePath, fragment, highlightWords] {
            openPageAtRelativePath(relativePath, fragment, highlightWords);
        });
        return true;
    }
    QUrl url = relativePath.isEmpty() ? QUrl() : m_index->urlForRelativePath(relativePath);
    if (url.isEmpty()) {
        // Words meant for this page must not wait for whichever opens next.
        m_highlightWords.clear();
        return false;
    }
    if (fragment.size() >= 2 && fragment.startsWith(u'#')) {
        url.setFragment(fragment.mid(1));
    }
    // A move within the page shown loads nothing, so no load will finish to
    // select the words: they are searched for at once.
    const bool samePage = webView() && window() && currentRelativePath() == relativePath;
    if (!showHTMLContent(QString(), url, m_index->windowTitle())) {
        m_highlightWords.clear();
        return false;
    }
    if (samePage) {
        highlightStoredWords();
    }
    fillContentsMenuOnce();
    return true;
}

void QXHelpManager::highlightStoredWords()
{
    if (!m_highlightWords.isEmpty() && webView()) {
        webView()->find(m_highlightWords.constFirst());
    }
    m_highlightWords.clear();
}

QStringList QXHelpManager::resourceFolders() const
{
    const QString folder = m_index->helpFolderPath();
    return folder.isEmpty() ? QStringList() : QStringList{folder};
}

bool QXHelpManager::openPageAtRelativePathWithFragment(const QString& pathAndFragment)
{
    if (pathAndFragment.isEmpty()) {
        return false;
    }
    const qsizetype hash = pathAndFragment.lastIndexOf(u'#');
    if (hash < 0) {
        return openPageAtRelativePath(pathAndFragment);
    }
    return openPageAtRelativePath(pathAndFragment.left(hash), pathAndFragment.mid(hash));
}

void QXHelpManager::openStartupPageIfRequested()
{
    const QString path = defaults().stringForKey(OpenRelativePathKey);
    if (!path.isEmpty()) {
        QTimer::singleShot(0, this, [this, path] { openPageAtRelativePathWithFragment(path); });
    }
}

QString QXHelpManager::currentRelativePath() const
{
    return webView() ? m_index->relativePathForURL(webView()->url()) : QString();
}

bool QXHelpManager::windowShouldClose()
{
    // The window and its page stay for the next request.
    saveFrame();
    return true;
}

// Page loaded --------------------------------------------------------------------

void QXHelpManager::webViewDidFinishLoad(bool ok)
{
    QXBrowserWindowController::webViewDidFinishLoad(ok);
    enableSpinner(false);
    highlightStoredWords();
    if (ok) {
        pageCommitted();
    }
}

void QXHelpManager::pageCommitted()
{
    const QString path = currentRelativePath();
    if (path.isEmpty()) {
        return;
    }
    const std::optional<qsizetype> position = m_index->indexOfPage(path);
    if (!position) {
        return; // not a page of the book: header and bar stay as they were
    }
    const QList<QXHelpPageRecord>& pages = m_index->pageRepresentations();
    const qsizetype i = *position;
    setCurrentPageRepresentation(pages.at(i), i > 0 ? std::optional(pages.at(i - 1)) : std::nullopt,
                                 i + 1 < pages.size() ? std::optional(pages.at(i + 1))
                                                      : std::nullopt);
}

// Page header ----------------------------------------------------------------------

void QXHelpManager::setCurrentPageRepresentation(const QXHelpPageRecord& record,
                                                 const std::optional<QXHelpPageRecord>& previous,
                                                 const std::optional<QXHelpPageRecord>& next)
{
    if (!topArea()) {
        return;
    }
    const QString title = record.title.isEmpty() ? QStringLiteral("?") : record.title;
    if (!m_header) {
        m_header = new QXHelpManagerHeaderView(HeaderHeight);
        m_header->setObjectName(QStringLiteral("QXHelpManagerPageHeader"));
        m_header->setAccessibleName(QXLocalized::tr("Page Header"));
        auto* layout = new QHBoxLayout(m_header);
        layout->setContentsMargins(15, 0, 15, 1);
        m_previousPageButton = new QXHelpManagerPageButton(true, m_header);
        m_nextPageButton = new QXHelpManagerPageButton(false, m_header);
        m_pageTitleField = new QLabel(m_header);
        m_pageTitleField->setTextFormat(Qt::PlainText);
        m_pageTitleField->setAlignment(Qt::AlignCenter);
        m_pageTitleField->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        QFont font = m_pageTitleField->font();
        font.setPointSizeF(20.0);
        m_pageTitleField->setFont(font);
        // Both buttons keep their place while hidden, so the title stays centred.
        for (QWidget* button : {static_cast<QWidget*>(m_previousPageButton.data()),
                                static_cast<QWidget*>(m_nextPageButton.data())}) {
            QSizePolicy policy = button->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            button->setSizePolicy(policy);
        }
        layout->addWidget(m_previousPageButton);
        layout->addWidget(m_pageTitleField, 1);
        layout->addWidget(m_nextPageButton);
        const auto open = [this](const QString& path) { openPageAtRelativePath(path); };
        connect(m_previousPageButton, &QXHelpManagerPageButton::openPage, this, open);
        connect(m_nextPageButton, &QXHelpManagerPageButton::openPage, this, open);
        topArea()->insertWidget(0, m_header);
    }
    m_pageTitleField->setText(title);
    m_pageTitleField->setAccessibleName(title);
    m_previousPageButton->setTargetPageRepresentation(previous);
    m_nextPageButton->setTargetPageRepresentation(next);
    showQuickAccessMenusForCategories(record.quickAccess.value_or(QStringList()));
}

// Quick-access bar ---------------------------------------------------------------

bool QXHelpManager::showQuickAccessMenusForCategories(const QStringList& categories)
{
    if (!webView() || !topArea()) {
        return false;
    }
    if (categories.isEmpty()) {
        delete m_quickAccessView.data();
        return true;
    }
    delete m_quickAccessView.data();
    m_quickAccessView = new QXHelpManagerHeaderView(QuickAccessHeight);
    m_quickAccessView->setObjectName(QStringLiteral("QXHelpManagerQuickAccess"));
    m_quickAccessView->setAccessibleName(QXLocalized::tr("Quick Access"));
    const bool centred = defaults().boolForKey(CenterQuickAccessKey);
    auto* layout = new QHBoxLayout(m_quickAccessView);
    layout->setContentsMargins(centred ? 5 : 15, 0, 5, 1);
    layout->setSpacing(5);
    if (centred) {
        layout->addStretch(1);
    }

    auto* label = new QLabel(QXLocalized::tr("Quick Access"), m_quickAccessView);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    label->setFont(small);
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setAccessibleName(QXLocalized::tr("Quick Access"));
    layout->addWidget(label);

    const QMap<QString, QList<QXHelpAnchorRecord>>& anchors = m_index->anchorsByCategory();
    for (const QString& category : categories) {
        auto* button = new QToolButton(m_quickAccessView);
        button->setText(capitalized(category));
        button->setAccessibleName(capitalized(category));
        button->setPopupMode(QToolButton::InstantPopup);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        auto* menu = new QMenu(category, button);
        menu->setAccessibleName(capitalized(category));
        for (const QXHelpAnchorRecord& anchor : anchors.value(category)) {
            menu->addAction(anchor.name)->setData(anchorTarget(anchor));
        }
        connect(menu, &QMenu::triggered, this, [this](QAction* action) {
            openPageAtRelativePathWithFragment(action->data().toString());
        });
        button->setMenu(menu);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    // Below the page header, above the find bar.
    topArea()->insertWidget(m_header ? topArea()->indexOf(m_header) + 1 : 0, m_quickAccessView);
    return true;
}

// Contents menu -------------------------------------------------------------------

QStringList QXHelpManager::toolbarDefaultItemIdentifiers() const
{
    QStringList items = QXBrowserWindowController::toolbarDefaultItemIdentifiers();
    while (!items.isEmpty() &&
           (items.constLast() == SpaceItem || items.constLast() == FlexibleSpaceItem)) {
        items.removeLast();
    }
    if (!items.isEmpty() && items.constLast() == SearchItem) {
        items.insert(items.size() - 1, IndexItem);
    } else {
        items << FlexibleSpaceItem << IndexItem;
    }
    return items;
}

QWidget* QXHelpManager::toolbarItemForIdentifier(const QString& identifier)
{
    if (identifier != IndexItem) {
        return QXBrowserWindowController::toolbarItemForIdentifier(identifier);
    }
    m_indexButton = new QToolButton;
    m_indexButton->setText(QXLocalized::tr("Contents"));
    m_indexButton->setAccessibleName(QXLocalized::tr("Contents"));
    m_indexButton->setToolTip(QXLocalized::tr("Contents"));
    m_indexButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_indexButton->setPopupMode(QToolButton::InstantPopup);
    m_indexButton->setEnabled(false);
    m_contentsMenu = new QMenu(QXLocalized::tr("Index"), m_indexButton);
    m_contentsMenu->setAccessibleName(QXLocalized::tr("Contents"));
    m_indexButton->setMenu(m_contentsMenu);
    m_contentsFilled = false;
    connect(m_contentsMenu, &QMenu::triggered, this, [this](QAction* action) {
        openPageAtRelativePathWithFragment(action->data().toString());
    });
    connect(m_contentsMenu, &QMenu::aboutToShow, this, [this] {
        if (m_index->pageRepresentations().size() >= 2) {
            markCurrentPage(*m_contentsMenu, currentRelativePath());
        }
    });
    return m_indexButton;
}

void QXHelpManager::fillContentsMenuOnce()
{
    if (m_contentsFilled || !m_contentsMenu || !m_index->isReady()) {
        return;
    }
    m_contentsFilled = true;
    fillContentsMenu(*m_contentsMenu, m_index->pageRepresentations(),
                     defaults().boolForKey(ListAnchorsInSubmenusKey));
    m_indexButton->setEnabled(true);
}

void QXHelpManager::fillContentsMenu(QMenu& menu, const QList<QXHelpPageRecord>& pages,
                                     bool listAnchorsInSubmenus)
{
    const bool submenuMode = pages.size() != 1 && listAnchorsInSubmenus;
    for (const QXHelpPageRecord& page : pages) {
        const bool hasAnchors = !page.anchors.isEmpty();
        const bool ownList = hasAnchors && (submenuMode || pages.size() == 1);
        if (hasAnchors && submenuMode) {
            // A submenu cannot be chosen itself: the page is its first item.
            QMenu* submenu = menu.addMenu(page.title);
            submenu->menuAction()->setData(page.path);
            submenu->addAction(page.title)->setData(page.path);
            submenu->addSeparator();
            addAnchors(*submenu, page.anchors, ownList);
        } else {
            menu.addAction(page.title)->setData(page.path);
            if (ownList) {
                menu.addSeparator();
            }
            addAnchors(menu, page.anchors, ownList);
        }
        if (page.isFollowedBySeparator()) {
            menu.addSeparator();
        }
    }
}

void QXHelpManager::markCurrentPage(QMenu& menu, const QString& currentPath)
{
    for (QAction* action : menu.actions()) {
        const QString target = action->data().toString();
        if (action->isSeparator() || target.contains(u'#')) {
            continue; // anchors are never marked
        }
        action->setCheckable(true);
        action->setChecked(!currentPath.isEmpty() && target == currentPath);
    }
}

// Search ----------------------------------------------------------------------------

QStringList QXHelpManager::searchSuggestionsForQuery(const QString& query)
{
    if (!m_index->isReady()) {
        m_index->build();
        return {};
    }
    return m_index->searchSuggestionsForQuery(query, currentRelativePath()).titles;
}

void QXHelpManager::selectSearchSuggestion(const QString& title)
{
    if (title.isNull()) {
        return;
    }
    const QString query = searchField() ? searchField()->text() : QString();
    if (const std::optional<QXHelpSearchItem> item =
            m_index->selectSearchSuggestion(title, query)) {
        openPageAtRelativePath(item->path, {}, item->words);
    }
}

// Command links -----------------------------------------------------------------

platform::WebView::Policy QXHelpManager::decidePolicyForNavigation(const QUrl& url)
{
    if (url.scheme().compare(QXHelpCommandLink::Scheme, Qt::CaseInsensitive) == 0) {
        // Handled once the click is over, so the alerts do not run inside it.
        QTimer::singleShot(0, this, [this, url] { handleCommandLink(url); });
        return platform::WebView::Policy::Ignore;
    }
    return QXBrowserWindowController::decidePolicyForNavigation(url);
}

void QXHelpManager::setAcceptableUserDefaultKeys(const QStringList& keys)
{
    m_acceptableKeys = QSet<QString>(keys.begin(), keys.end());
}

void QXHelpManager::setAcceptableUserDefaults(const QHash<QString, SettingRule>& rules)
{
    m_settingRules = rules;
}

bool QXHelpManager::acceptsUserDefault(const QString& key,
                                       const std::optional<QVariant>& value) const
{
    const QVariant registered = defaults().registeredDefaults().value(key);
    if (!m_acceptableKeys.contains(key) && !m_settingRules.contains(key) && !registered.isValid()) {
        return false;
    }
    if (!value) {
        return true; // removing a setting brings back its standard value
    }
    const std::optional<SettingRule::Type> type = valueType(*value);
    if (!type) {
        return false;
    }
    const auto rule = m_settingRules.constFind(key);
    if (rule == m_settingRules.cend()) {
        return !registered.isValid() || valueType(registered) == type;
    }
    const bool number = *type == SettingRule::Type::Integer || *type == SettingRule::Type::Number;
    if (rule->type == SettingRule::Type::Number ? !number : *type != rule->type) {
        return false;
    }
    if (number) {
        const double amount = value->toDouble();
        if ((rule->minimum && amount < double(*rule->minimum)) ||
            (rule->maximum && amount > double(*rule->maximum))) {
            return false;
        }
    }
    return true;
}

void QXHelpManager::setAlertPresenterForTesting(AlertPresenter presenter)
{
    m_alertPresenter = std::move(presenter);
}

void QXHelpManager::handleCommandLink(const QUrl& url)
{
    const QString text = url.toString(QUrl::FullyEncoded);
    const QXHelpCommandLink link = QXHelpCommandLink::parse(text);
    switch (link.kind) {
    case QXHelpCommandLink::Kind::Message:
        if (m_delegate) {
            m_delegate->helpManagerDidReceiveMessage(*this, link.message);
        }
        return;
    case QXHelpCommandLink::Kind::Default:
        handleDefaultLink(link.key, link.value);
        return;
    case QXHelpCommandLink::Kind::Malformed:
        platform::systemLog(
            QStringLiteral("ignored help link (%1): %2").arg(link.problem, forLog(text)));
        return;
    }
}

void QXHelpManager::handleDefaultLink(const QString& key, const std::optional<QVariant>& value)
{
    platform::Activation::current().activateIgnoringOtherApps();
    if (!acceptsUserDefault(key, std::nullopt)) {
        platform::systemLog(
            QStringLiteral("refused help link for a setting Trovix does not have: %1")
                .arg(forLog(key)));
        runAlert({QXLocalized::tr("Cannot change this setting"),
                  QXLocalized::tr("%1 is not a setting of Trovix.").arg(forLog(key)),
                  {QXLocalized::tr("OK")}});
        return;
    }
    if (!acceptsUserDefault(key, value)) {
        const QString shown = forLog(QXHelpCommandLink::describeValue(value));
        platform::systemLog(QStringLiteral("refused help link: %1 cannot hold the value %2")
                                .arg(forLog(key), shown));
        runAlert({QXLocalized::tr("Cannot change this setting"),
                  QXLocalized::tr("%1 cannot be set to %2.").arg(forLog(key), shown),
                  {QXLocalized::tr("OK")}});
        return;
    }

    const QVariant current = defaults().objectForKey(key);
    const std::optional<QVariant> currentValue =
        current.isValid() ? std::optional(current) : std::nullopt;
    if ((!value && !currentValue) || (value && currentValue && *value == *currentValue)) {
        runAlert({QXLocalized::tr("That didn't do anything"),
                  QXLocalized::tr("%1 was already set to %2.")
                      .arg(key, QXHelpCommandLink::describeValue(value)),
                  {QXLocalized::tr("OK")}});
        return;
    }

    // Nothing changes before the user agrees.
    const int confirmed = runAlert({QXLocalized::tr("Change %1?").arg(key),
                                    QXLocalized::tr("%1 will be set to %2; it is now %3.")
                                        .arg(key, QXHelpCommandLink::describeValue(value),
                                             QXHelpCommandLink::describeValue(currentValue)),
                                    {QXLocalized::tr("OK"), QXLocalized::tr("Cancel")},
                                    1});
    if (confirmed != 0) {
        return;
    }

    // What the user had stored, to put back exactly on revert.
    const bool hadStoredValue = defaults().hasStoredValue(key);
    const QVariant stored = defaults().persistentDomain().value(key);
    if (value) {
        defaults().setObject(*value, key);
    } else {
        defaults().removeObjectForKey(key);
    }
    defaults().synchronize();

    const int choice = runAlert(
        {QXLocalized::tr("User default updated"),
         alertTextAfterChange(key, value),
         {QXLocalized::tr("OK"),
          QXLocalized::tr("Revert to %1").arg(QXHelpCommandLink::describeValue(currentValue))}});
    if (choice == 1) {
        if (hadStoredValue) {
            defaults().setObject(stored, key);
        } else {
            defaults().removeObjectForKey(key);
        }
        defaults().synchronize();
        if (m_delegate) {
            m_delegate->helpManagerDidSetOrRemoveUserDefault(*this, key);
        }
    }
}

QString QXHelpManager::alertTextAfterChange(const QString& key,
                                            const std::optional<QVariant>& value)
{
    if (m_delegate) {
        if (std::optional<QString> text =
                m_delegate->helpManagerDidSetOrRemoveUserDefault(*this, key)) {
            return *text;
        }
    }
    return QXLocalized::tr("%1 is now set to %2.")
        .arg(key, QXHelpCommandLink::describeValue(value));
}

int QXHelpManager::runAlert(const Alert& alert)
{
    if (m_alertPresenter) {
        return m_alertPresenter(alert);
    }
    QMessageBox box(window());
    box.setIcon(QMessageBox::Information);
    box.setWindowTitle(m_index->windowTitle());
    box.setText(alert.message);
    box.setInformativeText(alert.informativeText);
    QList<QPushButton*> buttons;
    for (const QString& title : alert.buttons) {
        QPushButton* button = box.addButton(title, buttons.isEmpty() ? QMessageBox::AcceptRole
                                                                     : QMessageBox::RejectRole);
        button->setAccessibleName(title);
        buttons << button;
    }
    const int escape =
        buttons.isEmpty() ? 0 : std::clamp(alert.escapeButton, 0, int(buttons.size()) - 1);
    if (!buttons.isEmpty()) {
        box.setDefaultButton(buttons.constFirst());
        box.setEscapeButton(buttons.at(escape));
    }
    box.exec();
    const auto chosen = std::find(buttons.cbegin(), buttons.cend(), box.clickedButton());
    return chosen == buttons.cend() ? escape : int(chosen - buttons.cbegin());
}
