#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace platform {

// A view that shows HTML content: pages read from local files, or HTML given
// as text with a base URL for its relative links. The view never follows a
// link on its own: every navigation, whether a click on a link or a request
// through load(), is first put to the navigation policy.
class WebView : public QObject
{
    Q_OBJECT

public:
    // What the navigation policy decides for a URL.
    enum class Policy
    {
        Load,  // show it in this view
        Ignore // leave the view as it is (the policy may have handled the URL itself)
    };
    using NavigationPolicy = std::function<Policy(const QUrl& url)>;

    // The items the view offers in its context menu; the context-menu hook
    // receives them in a QMenu, each action carrying its item in data().
    enum class ContextItem
    {
        CopyLink,
        Copy,
        SelectAll,
        Back,
        Forward,
        Reload,
        OpenLink
    };
    using ContextMenuHook = std::function<void(QMenu& menu)>;

    ~WebView() override = default;

    // A view of the default backend (the Qt text browser), its widget
    // parented to parent.
    static std::unique_ptr<WebView> create(QWidget* parent = nullptr);

    // The widget to place in a window.
    virtual QWidget* widget() = 0;

    // Asks the policy and, when it answers Load, shows the page at url (a
    // fragment scrolls to that anchor). Answers whether the page was shown;
    // a missing or unreadable file shows nothing and answers false.
    virtual bool load(const QUrl& url) = 0;
    // Shows html; relative links in it resolve against baseUrl.
    virtual void loadHtml(const QString& html, const QUrl& baseUrl) = 0;
    // Ends a load in progress (loads here finish before load() returns, so
    // only the notifications still pending are dropped).
    virtual void stopLoading() = 0;

    // The URL shown, with its fragment; empty before the first load and for
    // HTML given as text.
    virtual QUrl url() const = 0;
    // The title of the page shown (its title element), or an empty string.
    virtual QString title() const = 0;
    // The page's text as a reader sees it.
    virtual QString plainText() const = 0;

    virtual bool canGoBack() const = 0;
    virtual bool canGoForward() const = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;

    // Finds text from the current selection on, ignoring letter case and
    // wrapping around the end (or the start, backwards); selects and reveals
    // the match. Answers false, leaving the selection, when there is none.
    virtual bool find(const QString& text, bool backwards = false) = 0;
    // The selected text, or an empty string.
    virtual QString selectedText() const = 0;

    virtual bool canZoomIn() const = 0;
    virtual bool canZoomOut() const = 0;
    virtual void zoomIn() = 0;
    virtual void zoomOut() = 0;

    // Asks the user for a printer and prints the page (a modal dialog).
    virtual void print(QWidget* dialogParent) = 0;

    // Largest page, image or style sheet the view reads, in bytes.
    static constexpr qint64 MaximumResourceSize = 16 * 1024 * 1024;

    // The folders (symbolic links resolved) that the images, style sheets and
    // other resources a page names may be read from; pages themselves go
    // through the navigation policy instead. Empty: the folder of the page
    // shown. Whatever the folders, only regular files up to
    // MaximumResourceSize are read, so a named pipe or a device never blocks
    // the view and never fills memory.
    void setResourceFolders(const QStringList& folders) { m_resourceFolders = folders; }
    const QStringList& resourceFolders() const { return m_resourceFolders; }

    // The policy every navigation goes through; without one nothing loads.
    void setNavigationPolicy(NavigationPolicy policy) { m_policy = std::move(policy); }
    // Called with the context menu filled with the view's items, before it
    // is shown; the hook may remove items and add its own.
    void setContextMenuHook(ContextMenuHook hook) { m_contextMenuHook = std::move(hook); }

Q_SIGNALS:
    // A page (not a fragment of the page shown) starts and ends loading.
    void loadStarted();
    void loadFinished(bool ok);
    // The page shown changed its title, or the history moved.
    void titleChanged(const QString& title);
    void historyChanged();

protected:
    Policy decidePolicy(const QUrl& url) const { return m_policy ? m_policy(url) : Policy::Ignore; }
    void runContextMenuHook(QMenu& menu) const
    {
        if (m_contextMenuHook) {
            m_contextMenuHook(menu);
        }
    }

private:
    NavigationPolicy m_policy;
    ContextMenuHook m_contextMenuHook;
    QStringList m_resourceFolders;
};

} // namespace platform
