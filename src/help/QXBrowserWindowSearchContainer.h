#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// The find bar above the page: a search field and a "Done" button on a strip
// with a light gradient (a flat dark grey in a dark palette) and a line along
// its bottom edge.
class QXBrowserWindowSearchContainer : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Height = 31;

    explicit QXBrowserWindowSearchContainer(QWidget* parent = nullptr);

    QLineEdit* searchField() const { return m_searchField; }
    QPushButton* doneButton() const { return m_doneButton; }

Q_SIGNALS:
    // Escape in the field, or the Done button.
    void doneRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_searchField;
    QPushButton* m_doneButton;
};
