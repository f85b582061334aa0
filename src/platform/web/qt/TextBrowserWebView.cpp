#include "platform/web/qt/TextBrowserWebView.h"

#include "platform/files/RegularFile.h"
#include "platform/log/SystemLog.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <optional>

namespace platform {

// The text browser with the view's own context menu.
class TextBrowserWebView::Browser : public QTextBrowser
{
public:
    Browser(TextBrowserWebView& view, QWidget* parent) : QTextBrowser(parent), m_view(view) {}

    // Every page, image and style sheet is read here, never by Qt itself.
    QVariant loadResource(int type, const QUrl& name) override
    {
        return m_view.resource(type, name);
    }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        m_view.showContextMenu(event->pos());
        event->accept();
    }

private:
    TextBrowserWebView& m_view;
};

namespace {

// A page the view can show: an existing, readable regular file. A named
// pipe in a page's place would block the view until a writer came.
bool isReadableFile(const QUrl& url)
{
    if (!url.isLocalFile()) {
        return false;
    }
    const QString path = url.toLocalFile();
    return RegularFile::isRegularFile(path) && QFileInfo(path).isReadable();
}

// Where path lies inside folder (both with symbolic links resolved).
bool liesInside(const QString& path, const QString& folder)
{
    if (folder.isEmpty()) {
        return false;
    }
    if (folder == QLatin1String("/")) {
        return path.startsWith(u'/');
    }
    return path == folder || path.startsWith(folder + u'/');
}

QUrl withoutFragment(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment);
}

QAction* addItem(QMenu& menu, const QString& text, WebView::ContextItem item, bool enabled)
{
    QAction* action = menu.addAction(text);
    action->setData(static_cast<int>(item));
    action->setEnabled(enabled);
    return action;
}

} // namespace

TextBrowserWebView::TextBrowserWebView(QWidget* parent) : m_browser(new Browser(*this, parent))
{
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_browser->setAccessibleName(QCoreApplication::translate("Trovix", "Page"));
    m_browser->setAcceptDrops(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &TextBrowserWebView::activateLink);
    connect(m_browser, &QTextBrowser::historyChanged, this, &WebView::historyChanged);
}

TextBrowserWebView::~TextBrowserWebView()
{
    delete m_browser.data();
}

QWidget* TextBrowserWebView::widget()
{
    return m_browser;
}

bool TextBrowserWebView::load(const QUrl& url)
{
    if (!m_browser || decidePolicy(url) != Policy::Load) {
        return false;
    }
    if (!isReadableFile(url)) {
        Q_EMIT loadStarted();
        systemLog(QStringLiteral("cannot read page: %1").arg(url.toDisplayString()));
        Q_EMIT loadFinished(false);
        return false;
    }
    showSource(url);
    return true;
}

void TextBrowserWebView::showSource(const QUrl& url)
{
    const bool samePage = withoutFragment(url) == withoutFragment(m_browser->source());
    if (!samePage) {
        Q_EMIT loadStarted();
    }
    m_baseUrl = url;
    m_browser->setSource(url);
    if (!samePage) {
        pageChanged(true);
    }
}

void TextBrowserWebView::loadHtml(const QString& html, const QUrl& baseUrl)
{
    if (!m_browser) {
        return;
    }
    Q_EMIT loadStarted();
    m_baseUrl = baseUrl;
    m_browser->clearHistory();
    m_browser->setSource(QUrl());
    m_browser->document()->setBaseUrl(baseUrl);
    m_browser->setHtml(html);
    pageChanged(true);
}

void TextBrowserWebView::stopLoading()
{
    // Loads finish inside load(); there is never one in progress.
}

void TextBrowserWebView::pageChanged(bool ok)
{
    const QString pageTitle = title();
    m_browser->setAccessibleDescription(pageTitle);
    Q_EMIT titleChanged(pageTitle);
    Q_EMIT loadFinished(ok);
}

QUrl TextBrowserWebView::url() const
{
    return m_browser ? m_browser->source() : QUrl();
}

QString TextBrowserWebView::title() const
{
    return m_browser ? m_browser->documentTitle() : QString();
}

QString TextBrowserWebView::plainText() const
{
    return m_browser ? m_browser->toPlainText() : QString();
}

bool TextBrowserWebView::canGoBack() const
{
    return m_browser && m_browser->isBackwardAvailable();
}

bool TextBrowserWebView::canGoForward() const
{
    return m_browser && m_browser->isForwardAvailable();
}

void TextBrowserWebView::goBack()
{
    if (!canGoBack()) {
        return;
    }
    const QUrl before = withoutFragment(m_browser->source());
    m_browser->backward();
    if (withoutFragment(m_browser->source()) != before) {
        pageChanged(true);
    }
}

void TextBrowserWebView::goForward()
{
    if (!canGoForward()) {
        return;
    }
    const QUrl before = withoutFragment(m_browser->source());
    m_browser->forward();
    if (withoutFragment(m_browser->source()) != before) {
        pageChanged(true);
    }
}

bool TextBrowserWebView::find(const QString& text, bool backwards)
{
    if (!m_browser || text.isEmpty()) {
        return false;
    }
    const QTextDocument::FindFlags flags =
        backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_browser->find(text, flags)) {
        return true;
    }
    // Wrap: search again from the other end, keeping the selection when
    // there is no match at all.
    const QTextCursor before = m_browser->textCursor();
    QTextCursor start(m_browser->document());
    start.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    m_browser->setTextCursor(start);
    if (m_browser->find(text, flags)) {
        return true;
    }
    m_browser->setTextCursor(before);
    return false;
}

QString TextBrowserWebView::selectedText() const
{
    return m_browser ? m_browser->textCursor().selectedText() : QString();
}

void TextBrowserWebView::zoomIn()
{
    if (m_browser && canZoomIn()) {
        m_browser->zoomIn(1);
        ++m_zoom;
    }
}

void TextBrowserWebView::zoomOut()
{
    if (m_browser && canZoomOut()) {
        m_browser->zoomOut(1);
        --m_zoom;
    }
}

void TextBrowserWebView::print(QWidget* dialogParent)
{
    if (!m_browser) {
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, dialogParent);
    dialog.setWindowTitle(QCoreApplication::translate("Trovix", "Print"));
    if (dialog.exec() == QDialog::Accepted) {
        m_browser->document()->print(&printer);
    }
}

void TextBrowserWebView::activateLink(const QUrl& link)
{
    if (!m_browser) {
        return;
    }
    const QUrl base = m_browser->source().isEmpty() ? m_baseUrl : m_browser->source();
    const QUrl target = base.resolved(link);
    if (decidePolicy(target) != Policy::Load) {
        return;
    }
    if (!isReadableFile(target)) {
        systemLog(QStringLiteral("cannot read page: %1").arg(target.toDisplayString()));
        return;
    }
    showSource(target);
}

QUrl TextBrowserWebView::baseForLinks() const
{
    return m_browser->source().isEmpty() ? m_baseUrl : m_browser->source();
}

bool TextBrowserWebView::isInsideResourceFolders(const QString& canonicalPath) const
{
    QStringList folders = resourceFolders();
    if (folders.isEmpty()) {
        const QUrl base = baseForLinks();
        if (!base.isLocalFile()) {
            return false;
        }
        folders.append(QFileInfo(base.toLocalFile()).absolutePath());
    }
    for (const QString& folder : std::as_const(folders)) {
        if (liesInside(canonicalPath, QFileInfo(folder).canonicalFilePath())) {
            return true;
        }
    }
    return false;
}

QVariant TextBrowserWebView::resource(int type, const QUrl& name) const
{
    // Empty bytes, never an empty variant: given nothing, Qt's text document
    // would read the file itself, without any of the checks below.
    const QVariant nothing = QVariant(QByteArray());
    if (!m_browser) {
        return nothing;
    }
    // Data addresses carry their bytes with them; the document decodes them.
    if (name.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0) {
        return {};
    }
    const QUrl url = name.isRelative() ? baseForLinks().resolved(name) : name;
    if (!url.isLocalFile()) {
        return nothing;
    }
    const QString path = QFileInfo(url.toLocalFile()).canonicalFilePath();
    if (path.isEmpty()) {
        return nothing;
    }
    const bool isPage =
        type == QTextDocument::HtmlResource || type == QTextDocument::MarkdownResource;
    if (!isPage && !isInsideResourceFolders(path)) {
        systemLog(QStringLiteral("page resource outside the page's folders not loaded: %1")
                      .arg(url.toDisplayString()));
        return nothing;
    }
    QString error;
    const std::optional<QByteArray> data = RegularFile::read(path, MaximumResourceSize, &error);
    if (!data) {
        systemLog(QStringLiteral("cannot read %1: %2").arg(url.toDisplayString(), error));
        return nothing;
    }
    return *data;
}

void TextBrowserWebView::showContextMenu(const QPoint& position)
{
    QMenu menu(m_browser);
    const QString link = m_browser->anchorAt(position);
    if (!link.isEmpty()) {
        const QUrl base = m_browser->source().isEmpty() ? m_baseUrl : m_browser->source();
        const QUrl target = base.resolved(QUrl(link));
        connect(addItem(menu, QCoreApplication::translate("Trovix", "Open Link"),
                        ContextItem::OpenLink, true),
                &QAction::triggered, this, [this, target] { activateLink(target); });
        connect(addItem(menu, QCoreApplication::translate("Trovix", "Copy Link"),
                        ContextItem::CopyLink, true),
                &QAction::triggered, this, [target] {
                    QGuiApplication::clipboard()->setText(target.toString(QUrl::FullyEncoded));
                });
    }
    connect(addItem(menu, QCoreApplication::translate("Trovix", "Copy"), ContextItem::Copy,
                    m_browser->textCursor().hasSelection()),
            &QAction::triggered, m_browser, &QTextBrowser::copy);
    connect(addItem(menu, QCoreApplication::translate("Trovix", "Select All"),
                    ContextItem::SelectAll, true),
            &QAction::triggered, m_browser, &QTextBrowser::selectAll);
    connect(addItem(menu, QCoreApplication::translate("Trovix", "Back"), ContextItem::Back,
                    canGoBack()),
            &QAction::triggered, this, &TextBrowserWebView::goBack);
    connect(addItem(menu, QCoreApplication::translate("Trovix", "Forward"), ContextItem::Forward,
                    canGoForward()),
            &QAction::triggered, this, &TextBrowserWebView::goForward);
    connect(addItem(menu, QCoreApplication::translate("Trovix", "Reload"), ContextItem::Reload,
                    !m_browser->source().isEmpty()),
            &QAction::triggered, m_browser, &QTextBrowser::reload);
    runContextMenuHook(menu);
    if (!menu.isEmpty()) {
        menu.exec(m_browser->mapToGlobal(position));
    }
}

} // namespace platform
