#pragma once

#include <QWidget>

class QBoxLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTextBrowser;

// The log window's widgets: the log text, a bar with find earlier, the
// spinner, clear, save, the debug-logging check box and the view menu, and a
// find field shown on demand. In a window too narrow for the bar on one row
// (a tiling compositor's tile), its right half goes to a second row. It holds no behaviour of its
// own; the reader connects the controls (the view button only pops its menu up). Every control
// carries an accessible name.
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
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Puts the bar on one row or two, as the window's width allows.
    void fitBarToWidth();

    // The bar: find earlier, the spinner and clear on the left, the rest on
    // the right.
    QBoxLayout* m_bar = nullptr;
    QBoxLayout* m_barStart = nullptr;
    QBoxLayout* m_barEnd = nullptr;
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
