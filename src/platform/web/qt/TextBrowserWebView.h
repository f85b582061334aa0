#pragma once

#include "platform/web/WebView.h"

#include <QPointer>
#include <QVariant>

class QTextBrowser;

namespace platform {

// The web view on a QTextBrowser: HTML 4 subset, local files and HTML text,
// no scripts and no network. Links never navigate by themselves; each one
// goes through the navigation policy.
class TextBrowserWebView : public WebView
{
    Q_OBJECT

public:
    // Zoom steps (one point of font size each) the view allows either way.
    static constexpr int MaximumZoomIn = 8;
    static constexpr int MaximumZoomOut = 4;

    explicit TextBrowserWebView(QWidget* parent = nullptr);
    ~TextBrowserWebView() override;

    QWidget* widget() override;
    bool load(const QUrl& url) override;
    void loadHtml(const QString& html, const QUrl& baseUrl) override;
    void stopLoading() override;
    QUrl url() const override;
    QString title() const override;
    QString plainText() const override;
    bool canGoBack() const override;
    bool canGoForward() const override;
    void goBack() override;
    void goForward() override;
    bool find(const QString& text, bool backwards) override;
    QString selectedText() const override;
    bool canZoomIn() const override { return m_zoom < MaximumZoomIn; }
    bool canZoomOut() const override { return m_zoom > -MaximumZoomOut; }
    void zoomIn() override;
    void zoomOut() override;
    void print(QWidget* dialogParent) override;

    // Follows a link as a click on it does (relative URLs resolve against the
    // page shown).
    void activateLink(const QUrl& link);

    // What the view reads for a resource of type (a QTextDocument::ResourceType)
    // named name in the page shown: the bytes of a regular file, inside the
    // resource folders unless it is a page, or empty bytes.
    QVariant resource(int type, const QUrl& name) const;

private:
    class Browser;

    void showSource(const QUrl& url);
    void pageChanged(bool ok);
    void showContextMenu(const QPoint& position);
    QUrl baseForLinks() const;
    bool isInsideResourceFolders(const QString& canonicalPath) const;

    QPointer<Browser> m_browser;
    QUrl m_baseUrl;
    int m_zoom = 0;
};

} // namespace platform
