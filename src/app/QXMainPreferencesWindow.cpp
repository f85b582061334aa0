#include "app/QXMainPreferencesWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QLabel>
#include <QStackedWidget>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString sectionTitle(const QString& identifier)
{
    if (identifier == QLatin1String("Menu")) {
        return QCoreApplication::translate("Trovix", "Menu");
    }
    if (identifier == QLatin1String("Advanced")) {
        return QCoreApplication::translate("Trovix", "Advanced");
    }
    return QCoreApplication::translate("Trovix", "Updates");
}

QIcon sectionIcon(const QStyle* style, const QString& identifier)
{
    if (identifier == QLatin1String("Menu")) {
        return QIcon::fromTheme(QStringLiteral("preferences-desktop"),
                                style->standardIcon(QStyle::SP_FileDialogListView));
    }
    if (identifier == QLatin1String("Advanced")) {
        return QIcon::fromTheme(QStringLiteral("preferences-system"),
                                style->standardIcon(QStyle::SP_FileDialogDetailedView));
    }
    return QIcon::fromTheme(QStringLiteral("system-software-update"),
                            style->standardIcon(QStyle::SP_BrowserReload));
}

} // namespace

QXMainPreferencesWindow::QXMainPreferencesWindow(QWidget* parent) : QXPreferencesWindow(parent)
{
    setObjectName(QStringLiteral("QXMainPreferencesWindow"));
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Preferences (Independent) 1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    m_pages = new QStackedWidget(this);
    setCentralWidget(m_pages);

    auto* group = new QActionGroup(this);
    for (const QString& identifier : sectionIdentifiers()) {
        QAction* action =
            m_toolbar->addAction(sectionIcon(style(), identifier), sectionTitle(identifier));
        action->setCheckable(true);
        action->setData(identifier);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, identifier] {
            selectSection(identifier);
            Q_EMIT sectionChosen(identifier);
        });
        m_sectionActions.insert(identifier, action);

        auto* page = new QWidget(m_pages);
        page->setObjectName(identifier);
        auto* layout = new QVBoxLayout(page);
        layout->addStretch();
        m_pages->addWidget(page);
        m_sectionPages.insert(identifier, page);
    }
    selectSection(QStringLiteral("Menu"));
    setMinimumSize(480, 320);
    resize(560, 400);
}

QStringList QXMainPreferencesWindow::sectionIdentifiers()
{
    return {QStringLiteral("Menu"), QStringLiteral("Advanced"), QStringLiteral("Updates")};
}

bool QXMainPreferencesWindow::selectSection(const QString& identifier)
{
    QWidget* page = m_sectionPages.value(identifier);
    if (page == nullptr) {
        return false;
    }
    m_pages->setCurrentWidget(page);
    m_sectionActions.value(identifier)->setChecked(true);
    return true;
}

QString QXMainPreferencesWindow::selectedSection() const
{
    const QWidget* page = m_pages->currentWidget();
    return page != nullptr ? page->objectName() : QString();
}

QWidget* QXMainPreferencesWindow::sectionPage(const QString& identifier) const
{
    return m_sectionPages.value(identifier);
}
