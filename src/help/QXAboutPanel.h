#pragma once

#include <QDialog>
#include <memory>

class QIcon;
class QLabel;
class QPushButton;
class QTextBrowser;
class QTextDocument;

// The window that tells what the program is: its icon, name and version, the
// credits, the copyright line, and a button for the licence agreement. It is
// built once and filled anew each time it is shown; Escape closes it.
class QXAboutPanel : public QDialog
{
    Q_OBJECT

public:
    // The credits area is at most this high; longer credits scroll in it.
    static constexpr int MaximumCreditsHeight = 200;

    explicit QXAboutPanel(QWidget* parent = nullptr);
    ~QXAboutPanel() override;

    void setApplicationIcon(const QIcon& icon);
    void setApplicationName(const QString& name);
    // Empty texts hide their line.
    void setVersion(const QString& version);
    void setCopyright(const QString& copyright);
    // The credits text; without one the credits area is hidden.
    void setCredits(std::unique_ptr<QTextDocument> credits);

    // Credits that fit are shown without scroll bar and border; longer ones
    // keep both. Done whenever the credits change or the panel is shown.
    void tidyCredits();
    // Whether the credits area scrolls (its border and scroll bar shown).
    bool creditsScroll() const;

    QLabel* iconLabel() const { return m_icon; }
    QLabel* nameLabel() const { return m_name; }
    QLabel* versionLabel() const { return m_version; }
    QTextBrowser* creditsView() const { return m_credits; }
    QLabel* copyrightLabel() const { return m_copyright; }
    QPushButton* eulaButton() const { return m_eula; }

Q_SIGNALS:
    void eulaRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_icon;
    QLabel* m_name;
    QLabel* m_version;
    QTextBrowser* m_credits;
    QLabel* m_copyright;
    QPushButton* m_eula;
};
