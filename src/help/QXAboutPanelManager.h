#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

class QTextDocument;
class QXAboutPanel;

namespace platform {
class Bundle;
}

// Shows the program's about panel with the credits, the picture and the
// copyright line from the bundle. There is one manager for the life of the
// process; the panel it shows is built once and reused.
class QXAboutPanelManager : public QObject
{
    Q_OBJECT

public:
    // What the panel shows besides the bundle's name, icon and version.
    struct Options
    {
        // The credits text; none without a credits entry and a picture.
        std::unique_ptr<QTextDocument> credits;
        // The copyright line made with the credits file's "=> " line; none
        // without such a line (the bundle's own copyright text is shown).
        std::optional<QString> copyright;
    };

    // The point size of the credits text.
    static constexpr double CreditsFontSize = 10.0;

    static QXAboutPanelManager& aboutPanelManager();
    ~QXAboutPanelManager() override;
    QXAboutPanelManager(const QXAboutPanelManager&) = delete;
    QXAboutPanelManager& operator=(const QXAboutPanelManager&) = delete;

    // Shows the about panel, filled anew from the bundle, and brings it
    // forward. Calling it again while the panel is open refills and raises
    // the same window.
    void orderFrontStandardAboutPanel();
    // Opens the licence agreement kept in the bundle ("License.txt") with the
    // desktop's viewer for it; beeps and logs when it is missing or cannot be
    // opened.
    void openEULA();

    // Reads the credits file and the picture of the bundle into options.
    Options aboutPanelOptions() const;

    // The panel, once it has been shown.
    QXAboutPanel* aboutPanel() const;

    // The bundle whose information and resources are shown; the main bundle
    // unless another one is set (nullptr sets the main one back).
    const platform::Bundle& bundle() const;
    void setBundle(const platform::Bundle* bundle) { m_bundle = bundle; }

    // Closes and deletes the panel and uses the main bundle again.
    void resetForTesting();

private:
    QXAboutPanelManager() = default;

    QString versionText() const;

    const platform::Bundle* m_bundle = nullptr;
    QPointer<QXAboutPanel> m_panel;
};
