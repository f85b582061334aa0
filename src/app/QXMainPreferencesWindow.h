#pragma once

#include "app/QXPreferencesWindow.h"

#include <QHash>
#include <QStringList>

class QAction;
class QStackedWidget;
class QToolBar;

// The preferences window of the program: one toolbar section per page,
// "Menu", "Advanced" and "Updates".
class QXMainPreferencesWindow : public QXPreferencesWindow
{
    Q_OBJECT

public:
    explicit QXMainPreferencesWindow(QWidget* parent = nullptr);

    static QStringList sectionIdentifiers();

    // Shows the page of the section; answers false for an unknown identifier.
    bool selectSection(const QString& identifier);
    QString selectedSection() const;

    // The page of a section, for the controls that fill it.
    QWidget* sectionPage(const QString& identifier) const;

Q_SIGNALS:
    void sectionChosen(const QString& identifier);

private:
    QToolBar* m_toolbar = nullptr;
    QStackedWidget* m_pages = nullptr;
    QHash<QString, QAction*> m_sectionActions;
    QHash<QString, QWidget*> m_sectionPages;
};
