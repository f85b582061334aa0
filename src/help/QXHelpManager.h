#pragma once

#include "help/QXBrowserWindowController.h"
#include "help/QXHelpManagerHeaderView.h"
#include "help/QXHelpManagerPageButton.h"
#include "help/QXHelpPageRecord.h"

#include <QHash>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QToolButton>
#include <functional>
#include <memory>
#include <optional>

class QXHelpIndex;
class QXHelpManagerDelegate;

// The help window: the help book's pages in a browser window, with a page
// header (title, previous and next page), a quick-access bar of the page's
// categories, a Contents pull-down, search suggestions in the find field and
// the command links that help pages use to change Trovix's settings.
class QXHelpManager : public QXBrowserWindowController
{
    Q_OBJECT

public:
    static const QString IndexItem;
    static constexpr int HeaderHeight = 60;
    static constexpr int QuickAccessHeight = 35;

    // An alert: message, informative text and buttons, the first the default.
    struct Alert
    {
        QString message;
        QString informativeText;
        QStringList buttons;
        // The button Escape (or closing the alert) chooses.
        int escapeButton = 0;
    };
    // Shows an alert modally and answers the index of the button chosen.
    using AlertPresenter = std::function<int(const Alert& alert)>;

    // The process-wide help manager, on the main bundle's help book.
    static QXHelpManager& helpManager();

    // A help manager on the given index (tests); it takes the index.
    explicit QXHelpManager(std::unique_ptr<QXHelpIndex> index, QObject* parent = nullptr);
    ~QXHelpManager() override;
    QXHelpManager(const QXHelpManager&) = delete;
    QXHelpManager& operator=(const QXHelpManager&) = delete;

    QXHelpIndex& index() const { return *m_index; }

    // The program menu's "Help": brings the window forward, or opens the
    // first page. A help book without pages is explained in an alert.
    void help();
    // Opens the page named (without ".html"; the first page without a name)
    // with an optional fragment. Without force, an open window is only
    // brought forward. Answers false, logging and beeping, for an unknown
    // page. Before the index is read the request waits for it and answers
    // true.
    bool openPage(const QString& name, const QString& fragment = {}, bool force = false);
    // The same, telling opened whether the page was found once the index
    // has been read.
    void openPage(const QString& name, const QString& fragment, bool force,
                  std::function<void(bool found)> opened);
    // Opens a page of the book by its relative path; fragment starts with "#"
    // ("#" alone is ignored); words are searched for once the page has loaded.
    bool openPageAtRelativePath(const QString& relativePath, const QString& fragment = {},
                                const QStringList& highlightWords = {});
    // "path#fragment" or "path"; split at the last "#".
    bool openPageAtRelativePathWithFragment(const QString& pathAndFragment);
    // Opens the page "QXHelpManager: Open Relative Path" names, on the next
    // pass of the event loop, when the setting is not empty.
    void openStartupPageIfRequested();

    // The relative path of the page shown, or an empty string.
    QString currentRelativePath() const;

    // Page header and quick-access bar for the page shown.
    void setCurrentPageRepresentation(const QXHelpPageRecord& record,
                                      const std::optional<QXHelpPageRecord>& previous,
                                      const std::optional<QXHelpPageRecord>& next);
    // Shows the bar with one pull-down per category, or removes it when there
    // are none. False without a window.
    bool showQuickAccessMenusForCategories(const QStringList& categories);

    // Fills menu with the contents: pages in order, their anchors directly
    // (single page) or in submenus (submenu mode). Every item's data() is the
    // relative path, or "path#fragment", it opens.
    static void fillContentsMenu(QMenu& menu, const QList<QXHelpPageRecord>& pages,
                                 bool listAnchorsInSubmenus);
    // Checks the page items of menu whose path is currentPath.
    static void markCurrentPage(QMenu& menu, const QString& currentPath);

    // What a settings link may store under a key: a value of the type the
    // program reads it as, and for numbers chosen from a list in the
    // preferences window, only a number that list offers.
    struct SettingRule
    {
        enum class Type
        {
            Boolean,
            Integer,
            // A whole or a decimal number.
            Number,
            String
        };
        Type type = Type::String;
        std::optional<qint64> minimum;
        std::optional<qint64> maximum;
    };

    // Command links: the delegate (not owned; none by default), the settings
    // a default link may change, the alerts. A key given without a rule, and
    // a registered default without one, takes values of its registered
    // default's type (any value when it has none).
    void setDelegate(QXHelpManagerDelegate* delegate) { m_delegate = delegate; }
    void setAcceptableUserDefaultKeys(const QStringList& keys);
    void setAcceptableUserDefaults(const QHash<QString, SettingRule>& rules);
    // Whether a settings link may store value under key (no value: remove it).
    bool acceptsUserDefault(const QString& key, const std::optional<QVariant>& value) const;
    void setAlertPresenterForTesting(AlertPresenter presenter);
    // Handles a link of the help scheme.
    void handleCommandLink(const QUrl& url);

    // Widgets, for tests and the integration checks.
    QXHelpManagerHeaderView* pageHeader() const { return m_header; }
    QLabel* pageTitleField() const { return m_pageTitleField; }
    QXHelpManagerPageButton* previousPageButton() const { return m_previousPageButton; }
    QXHelpManagerPageButton* nextPageButton() const { return m_nextPageButton; }
    QXHelpManagerHeaderView* quickAccessView() const { return m_quickAccessView; }
    QToolButton* indexButton() const { return m_indexButton; }
    QMenu* contentsMenu() const { return m_contentsMenu; }

    // Overrides of the browser window.
    QSize windowDefaultContentSizeForScreen(const QScreen*) const override { return {800, 800}; }
    bool windowShouldClose() override;
    bool displaysSpinnerWhileLoading() const override { return false; }
    QStringList searchSuggestionsForQuery(const QString& query) override;
    void selectSearchSuggestion(const QString& title) override;
    platform::WebView::Policy decidePolicyForNavigation(const QUrl& url) override;
    // The help book's folder: pages show images and style sheets from the
    // book only.
    QStringList resourceFolders() const override;
    QStringList toolbarDefaultItemIdentifiers() const override;
    QWidget* toolbarItemForIdentifier(const QString& identifier) override;

protected:
    void webViewDidFinishLoad(bool ok) override;

private:
    void whenIndexReady(std::function<void()> work);
    bool showNoHelpBookAlert();
    void pageCommitted();
    // Selects the first stored word on the page shown and forgets the words.
    void highlightStoredWords();
    void fillContentsMenuOnce();
    void handleDefaultLink(const QString& key, const std::optional<QVariant>& value);
    int runAlert(const Alert& alert);
    QString alertTextAfterChange(const QString& key, const std::optional<QVariant>& value);

    std::unique_ptr<QXHelpIndex> m_index;
    QStringList m_highlightWords;
    QXHelpManagerDelegate* m_delegate = nullptr;
    QSet<QString> m_acceptableKeys;
    QHash<QString, SettingRule> m_settingRules;
    AlertPresenter m_alertPresenter;
    QPointer<QXHelpManagerHeaderView> m_header;
    QPointer<QLabel> m_pageTitleField;
    QPointer<QXHelpManagerPageButton> m_previousPageButton;
    QPointer<QXHelpManagerPageButton> m_nextPageButton;
    QPointer<QXHelpManagerHeaderView> m_quickAccessView;
    QPointer<QToolButton> m_indexButton;
    QPointer<QMenu> m_contentsMenu;
    bool m_contentsFilled = false;
};
