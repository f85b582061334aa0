#pragma once

#include "platform/updates/Appcast.h"

#include <QWidget>

class QBoxLayout;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace platform {

// The window that says a new version is available: the versions, the release
// notes as text (nothing else from the network is ever loaded into it), and
// three choices. It never installs anything: "Download" hands the version's
// web page or file to the user's browser. In a window too narrow for the
// three buttons side by side (a tiling compositor's tile) they stack.
class UpdateAlertWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Choice
    {
        Download,
        Skip,
        RemindLater
    };

    UpdateAlertWindow(const QString& applicationName, const QString& currentDisplayVersion,
                      QWidget* parent = nullptr);
    ~UpdateAlertWindow() override;

    // Shows item; its release notes come from its description, or later
    // through setReleaseNotes when they have to be loaded.
    void setItem(const AppcastItem& item);
    const AppcastItem& item() const { return m_item; }
    // Release notes loaded from the item's link, shown as HTML when
    // isHtml, else as plain text.
    void setReleaseNotes(const QString& text, bool isHtml);
    // What the release notes area says when they could not be loaded.
    void setReleaseNotesUnavailable();

    QTextBrowser* releaseNotesView() const { return m_releaseNotes; }
    QPushButton* downloadButton() const { return m_downloadButton; }
    QPushButton* skipButton() const { return m_skipButton; }
    QPushButton* remindLaterButton() const { return m_remindLaterButton; }
    QString informativeText() const;

Q_SIGNALS:
    // The user chose; the window has closed itself.
    void chosen(UpdateAlertWindow::Choice choice);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void choose(Choice choice);
    // Puts the buttons side by side or one above the other, as the window's
    // width allows.
    void fitButtonsToWidth();

    QString m_applicationName;
    QString m_currentDisplayVersion;
    AppcastItem m_item;
    QLabel* m_heading = nullptr;
    QLabel* m_informative = nullptr;
    QTextBrowser* m_releaseNotes = nullptr;
    QPushButton* m_downloadButton = nullptr;
    QPushButton* m_skipButton = nullptr;
    QPushButton* m_remindLaterButton = nullptr;
    QBoxLayout* m_buttons = nullptr;
    bool m_choosing = false;
};

} // namespace platform
