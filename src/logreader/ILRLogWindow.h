#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTextBrowser;

// The log window's widgets: the log text, a bar with find earlier, the
// spinner, clear, save, the debug-logging check box and the view menu, and a
// find field shown on demand. It holds no behaviour of its own; the reader
// connects the controls (the view button only pops its menu up). Every
// control carries an accessible name.
class ILRLogWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ILRLogWindow(QWidget* parent = nullptr);

    QTextBrowser* logView() const { return m_logView; }
    QPushButton* findEarlierResultsButton() const { return m_findEarlierResultsButton; }
    QProgressBar* spinner() const { return m_spinner; }
    QPushButton* clearButton() const { return m_clearButton; }
    QPushButton* saveButton() const { return m_saveButton; }
    QCheckBox* debugLoggingSwitch() const { return m_debugLoggingSwitch; }
    QPushButton* viewMenuButton() const { return m_viewMenuButton; }
    QMenu* viewMenu() const { return m_viewMenu; }
    QLineEdit* findField() const { return m_findField; }
    // Says why the log cannot be read when the log tool failed; hidden
    // otherwise.
    QLabel* toolErrorLabel() const { return m_toolErrorLabel; }

Q_SIGNALS:
    // Return was pressed in the log view.
    void returnPressed();
    // The window is closing (hidden; it stays built).
    void closing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QTextBrowser* m_logView;
    QPushButton* m_findEarlierResultsButton;
    QProgressBar* m_spinner;
    QPushButton* m_clearButton;
    QPushButton* m_saveButton;
    QCheckBox* m_debugLoggingSwitch;
    QPushButton* m_viewMenuButton;
    QMenu* m_viewMenu;
    QLineEdit* m_findField;
    QLabel* m_toolErrorLabel;
};
