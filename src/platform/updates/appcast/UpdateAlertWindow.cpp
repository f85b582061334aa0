#include "platform/updates/appcast/UpdateAlertWindow.h"

#include "platform/updates/FeedUrlPolicy.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace platform {
namespace {

// Shows text only: images, style sheets and every other resource a page names
// are never loaded, from the network or from local files.
class ReleaseNotesBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

    // Empty bytes, not an empty variant: given nothing, Qt's text document
    // would read a local file itself.
    QVariant loadResource(int, const QUrl&) override { return QVariant(QByteArray()); }
};

} // namespace

UpdateAlertWindow::UpdateAlertWindow(const QString& applicationName,
                                     const QString& currentDisplayVersion, QWidget* parent)
    : QWidget(parent, Qt::Window), m_applicationName(applicationName),
      m_currentDisplayVersion(currentDisplayVersion)
{
    setWindowTitle(QCoreApplication::translate("Trovix", "Software Update"));
    setAccessibleName(QCoreApplication::translate("Trovix", "Software Update"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_heading = new QLabel(this);
    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.15);
    m_heading->setFont(headingFont);
    m_heading->setWordWrap(true);
    // The labels show names and versions, some of them from the feed: text,
    // never markup.
    m_heading->setTextFormat(Qt::PlainText);
    m_heading->setText(QCoreApplication::translate("Trovix", "A new version of %1 is available!")
                           .arg(applicationName));
    m_heading->setAccessibleName(m_heading->text());

    m_informative = new QLabel(this);
    m_informative->setWordWrap(true);
    m_informative->setTextFormat(Qt::PlainText);
    m_informative->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* notesTitle = new QLabel(QCoreApplication::translate("Trovix", "Release Notes:"), this);
    notesTitle->setTextFormat(Qt::PlainText);
    QFont notesFont = notesTitle->font();
    notesFont.setBold(true);
    notesTitle->setFont(notesFont);
    notesTitle->setAccessibleName(notesTitle->text());

    m_releaseNotes = new ReleaseNotesBrowser(this);
    m_releaseNotes->setAccessibleName(QCoreApplication::translate("Trovix", "Release Notes"));
    m_releaseNotes->setOpenLinks(false);
    m_releaseNotes->setOpenExternalLinks(false);
    m_releaseNotes->setMinimumHeight(200);
    notesTitle->setBuddy(m_releaseNotes);
    // Links in the notes open in the browser, when they are web addresses.
    connect(m_releaseNotes, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
        if (FeedUrlPolicy::isAllowedLink(url)) {
            QDesktopServices::openUrl(url);
        }
    });

    m_skipButton =
        new QPushButton(QCoreApplication::translate("Trovix", "Skip This Version"), this);
    m_skipButton->setAccessibleName(m_skipButton->text());
    m_remindLaterButton =
        new QPushButton(QCoreApplication::translate("Trovix", "Remind Me Later"), this);
    m_remindLaterButton->setAccessibleName(m_remindLaterButton->text());
    m_downloadButton = new QPushButton(QCoreApplication::translate("Trovix", "Download"), this);
    m_downloadButton->setAccessibleName(m_downloadButton->text());
    m_downloadButton->setDefault(true);
    connect(m_skipButton, &QPushButton::clicked, this, [this] { choose(Choice::Skip); });
    connect(m_remindLaterButton, &QPushButton::clicked, this,
            [this] { choose(Choice::RemindLater); });
    connect(m_downloadButton, &QPushButton::clicked, this, [this] { choose(Choice::Download); });

    m_buttons = new QBoxLayout(QBoxLayout::LeftToRight);
    m_buttons->addWidget(m_skipButton);
    m_buttons->addStretch();
    m_buttons->addWidget(m_remindLaterButton);
    m_buttons->addWidget(m_downloadButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(10);
    layout->addWidget(m_heading);
    layout->addWidget(m_informative);
    layout->addSpacing(4);
    layout->addWidget(notesTitle);
    layout->addWidget(m_releaseNotes, 1);
    layout->addLayout(m_buttons);
    resize(560, 420);
}

UpdateAlertWindow::~UpdateAlertWindow() = default;

QString UpdateAlertWindow::informativeText() const
{
    return m_informative->text();
}

void UpdateAlertWindow::setItem(const AppcastItem& item)
{
    m_item = item;
    m_informative->setText(
        QCoreApplication::translate("Trovix",
                                    "%1 %2 is now available—you have %3. Would you like to "
                                    "download it now?")
            .arg(m_applicationName, item.displayVersionString(), m_currentDisplayVersion));
    m_informative->setAccessibleName(m_informative->text());
    m_downloadButton->setEnabled(FeedUrlPolicy::isAllowedLink(item.downloadUrl()));
    if (!item.description.isEmpty()) {
        setReleaseNotes(item.description, Qt::mightBeRichText(item.description));
    } else if (!item.releaseNotesLink.isEmpty()) {
        m_releaseNotes->setPlainText(
            QCoreApplication::translate("Trovix", "Loading release notes…"));
    } else {
        m_releaseNotes->setPlainText(
            QCoreApplication::translate("Trovix", "No release notes were given for this version."));
    }
}

void UpdateAlertWindow::setReleaseNotes(const QString& text, bool isHtml)
{
    if (isHtml) {
        m_releaseNotes->setHtml(text);
    } else {
        m_releaseNotes->setPlainText(text);
    }
}

void UpdateAlertWindow::setReleaseNotesUnavailable()
{
    m_releaseNotes->setPlainText(
        QCoreApplication::translate("Trovix", "The release notes could not be loaded."));
}

void UpdateAlertWindow::choose(Choice choice)
{
    if (m_choosing) {
        return;
    }
    m_choosing = true;
    if (choice == Choice::Download) {
        const QUrl url = m_item.downloadUrl();
        if (FeedUrlPolicy::isAllowedLink(url)) {
            QDesktopServices::openUrl(url);
        }
    }
    close();
    m_choosing = false;
    Q_EMIT chosen(choice);
}

void UpdateAlertWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // Closing the window any other way means "later".
    if (!m_choosing) {
        Q_EMIT chosen(Choice::RemindLater);
    }
}

void UpdateAlertWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        choose(Choice::RemindLater);
        return;
    }
    QWidget::keyPressEvent(event);
}

void UpdateAlertWindow::resizeEvent(QResizeEvent* event)
{
    fitButtonsToWidth();
    QWidget::resizeEvent(event);
}

bool UpdateAlertWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // A new font or style changes what the buttons need.
    if (event->type() == QEvent::LayoutRequest) {
        fitButtonsToWidth();
    }
    return handled;
}

void UpdateAlertWindow::fitButtonsToWidth()
{
    int total = 0;
    int widest = 0;
    int count = 0;
    for (const QPushButton* button : {m_skipButton, m_remindLaterButton, m_downloadButton}) {
        if (button->isHidden()) {
            continue;
        }
        const int needed = std::max(button->sizeHint().width(), button->minimumSizeHint().width());
        total += needed;
        widest = std::max(widest, needed);
        ++count;
    }
    const QMargins margins = layout()->contentsMargins();
    const int sides = margins.left() + margins.right();
    const int sideBySide =
        total + std::max(0, count - 1) * std::max(0, m_buttons->spacing()) + sides;
    // The window may be as narrow as the buttons one above the other.
    if (minimumWidth() != widest + sides) {
        setMinimumWidth(widest + sides);
    }
    const QBoxLayout::Direction direction =
        width() < sideBySide ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight;
    if (m_buttons->direction() != direction) {
        m_buttons->setDirection(direction);
    }
}

} // namespace platform
