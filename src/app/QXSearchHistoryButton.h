#pragma once

#include <QPushButton>

// The button that clears the search history: the presses that make items
// the user chose before rank first. It is enabled only while the history
// holds entries, looking again whenever it is shown and whenever its window
// becomes active (the pop-up adds presses while the window stays open).
// Clearing asks nothing, since it loses nothing but an order of results;
// it logs what it did and disables the button.
class QXSearchHistoryButton : public QPushButton
{
    Q_OBJECT

public:
    // For the user's history file, as it is named when the button is made.
    explicit QXSearchHistoryButton(QWidget* parent = nullptr);

    // Reads the history and enables the button while it holds entries.
    void updateEnabledState();
    // Clears the history and disables the button; false (button left
    // enabled) when the file could not be removed.
    bool clearSearchHistory();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    QString m_historyPath;
};
