#include "platform/web/WebView.h"

#include "platform/web/qt/TextBrowserWebView.h"

namespace platform {

std::unique_ptr<WebView> WebView::create(QWidget* parent)
{
    return std::make_unique<TextBrowserWebView>(parent);
}

} // namespace platform
