#pragma once

#include "platform/menus/Menu.h"
#include "search/MenuSearchModel.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPoint>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;

// The search a pop-up menu turns into when the user types: a field with
// the text at the top, the best matching menu items below it (path, key
// equivalent, check mark; disabled ones dimmed), and a line that says when
// menus are still being read or an application stopped answering. Up and
// Down move, Return chooses, Escape or erasing the text goes back to the
// menu, a click outside closes it.
class MenuSearchPopup : public QFrame
{
    Q_OBJECT

public:
    enum class Outcome
    {
        // Escape, or the text erased: the menu should open again.
        BackToMenu,
        // An item was chosen: see chosen().
        Chosen,
        // Closed by a click elsewhere.
        Closed
    };

    MenuSearchPopup(MenuSearchModel& model, platform::Menu::Appearance appearance,
                    int fontPointSize);
    ~MenuSearchPopup() override;

    // Shows the search at globalPosition with text typed, and blocks until
    // the user is done with it.
    Outcome exec(const QPoint& globalPosition, const QString& text);
    // The same in two steps: open() shows the search and returns at once
    // (the keys that follow go to it), wait() blocks until the user is done.
    // The search closes then, except to go back to the menu: it stays on
    // screen, holding the keyboard, until the menu replaces it (or hide()),
    // and keeps every key typed meanwhile for the menu (takeKeysForMenu()).
    void open(const QPoint& globalPosition, const QString& text);
    Outcome wait();
    std::vector<std::unique_ptr<QKeyEvent>> takeKeysForMenu();
    // The item chosen when exec() answered Chosen.
    std::optional<MenuSearchModel::Result> chosen() const { return m_chosen; }

    // For tests: the text of the status line and the results as shown.
    QString statusText() const;
    int currentRow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showResults();
    void moveSelection(int step);
    bool choose(int row);
    void finish(Outcome outcome);
    void fitToScreen();

    MenuSearchModel& m_model;
    QLineEdit* m_field = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_status = nullptr;
    QPoint m_anchor;
    Outcome m_outcome = Outcome::Closed;
    bool m_finished = false;
    // Return was typed while menus were still being read and nothing could
    // be chosen yet: the best match is chosen once reading ends.
    bool m_chooseWhenRead = false;
    // The user moved the selection (arrows or pointer) since the text last
    // changed: it then stays where they put it.
    bool m_selectionChosen = false;
    // Where the pointer rested when the search opened, until it moves: the
    // window opening under it, or results changing beneath it, is no choice
    // of the user's.
    std::optional<QPoint> m_restingPointer;
    std::optional<MenuSearchModel::Result> m_chosen;
    class QEventLoop* m_loop = nullptr;
    std::vector<std::unique_ptr<QKeyEvent>> m_keysForMenu;
};
