#include "logreader/ILRLogWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

ILRLogWindow::ILRLogWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_logView(new QTextBrowser(this)),
      m_findEarlierResultsButton(new QPushButton(this)), m_spinner(new QProgressBar(this)),
      m_clearButton(new QPushButton(this)), m_saveButton(new QPushButton(this)),
      m_debugLoggingSwitch(new QCheckBox(tr("Debug Logging"), this)),
      m_viewMenuButton(new QPushButton(this)), m_viewMenu(new QMenu(this)),
      m_findField(new QLineEdit(this)), m_toolErrorLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("ILRLogWindow"));
    resize(720, 480);
    // Ctrl+W closes the window, as it closes a document window anywhere.
    auto* closeShortcut = new QShortcut(QKeySequence::Close, this);
    connect(closeShortcut, &QShortcut::activated, this, &QWidget::close);

    m_logView->setObjectName(QStringLiteral("logView"));
    m_logView->setAccessibleName(tr("Log"));
    m_logView->setOpenLinks(false);
    m_logView->setUndoRedoEnabled(false);
    m_logView->installEventFilter(this);

    m_findEarlierResultsButton->setObjectName(QStringLiteral("findEarlierResultsButton"));
    m_findEarlierResultsButton->setAccessibleName(tr("Find Earlier Messages"));
    m_findEarlierResultsButton->setToolTip(tr("Find Earlier Messages"));
    m_findEarlierResultsButton->setText(QStringLiteral("\u2B06\uFE0E"));

    m_spinner->setObjectName(QStringLiteral("spinner"));
    m_spinner->setAccessibleName(tr("Finding Older Messages"));
    m_spinner->setRange(0, 0);
    m_spinner->setTextVisible(false);
    m_spinner->setMaximumWidth(80);
    m_spinner->hide();

    m_clearButton->setObjectName(QStringLiteral("clearButton"));
    m_clearButton->setAccessibleName(tr("Clear"));
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_saveButton->setText(tr("Save\u2026"));
    m_saveButton->setAccessibleName(tr("Save"));
    m_debugLoggingSwitch->setObjectName(QStringLiteral("debugLoggingSwitch"));
    m_debugLoggingSwitch->setAccessibleName(tr("Debug Logging"));

    m_viewMenuButton->setObjectName(QStringLiteral("viewMenuButton"));
    m_viewMenuButton->setText(tr("View"));
    m_viewMenuButton->setAccessibleName(tr("View"));
    m_viewMenu->setAccessibleName(tr("View"));
    // A click, Space or the button's accessibility action ("Press") pops the
    // menu up below the button and returns at once. (A tool button that pops
    // its menu up at once offers an action over AT-SPI that does nothing; a
    // push button's own menu holds the caller of that action until the menu
    // closes, so that a screen reader waits instead of reading the menu.)
    connect(m_viewMenuButton, &QPushButton::clicked, this, [this] {
        m_viewMenu->popup(m_viewMenuButton->mapToGlobal(QPoint(0, m_viewMenuButton->height())));
    });

    m_findField->setObjectName(QStringLiteral("findField"));
    m_findField->setAccessibleName(tr("Find"));
    m_findField->setPlaceholderText(tr("Find"));
    m_findField->setClearButtonEnabled(true);
    m_findField->hide();
    m_findField->installEventFilter(this);

    m_toolErrorLabel->setObjectName(QStringLiteral("toolErrorLabel"));
    m_toolErrorLabel->setAccessibleName(tr("Log Tool Error"));
    m_toolErrorLabel->setWordWrap(true);
    m_toolErrorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_toolErrorLabel->hide();

    m_barStart = new QHBoxLayout;
    m_barStart->addWidget(m_findEarlierResultsButton);
    m_barStart->addWidget(m_spinner);
    m_barStart->addWidget(m_clearButton);
    m_barStart->addStretch(1);
    m_barEnd = new QHBoxLayout;
    m_barEnd->addStretch(1);
    m_barEnd->addWidget(m_debugLoggingSwitch);
    m_barEnd->addWidget(m_saveButton);
    m_barEnd->addWidget(m_viewMenuButton);
    m_bar = new QBoxLayout(QBoxLayout::LeftToRight);
    m_bar->addLayout(m_barStart);
    m_bar->addLayout(m_barEnd);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_toolErrorLabel);
    layout->addWidget(m_findField);
    layout->addWidget(m_logView, 1);
    layout->addLayout(m_bar);
}

bool ILRLogWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Return in the log view saves; it never edits the text.
    if (watched == m_logView && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Q_EMIT returnPressed();
            return true;
        }
    }
    // Escape puts the find field away and returns to the log.
    if (watched == m_findField && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_findField->hide();
        m_logView->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ILRLogWindow::closeEvent(QCloseEvent* event)
{
    Q_EMIT closing();
    QWidget::closeEvent(event);
}

void ILRLogWindow::resizeEvent(QResizeEvent* event)
{
    fitBarToWidth();
    QWidget::resizeEvent(event);
}

bool ILRLogWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // A control shown or hidden (save, clear, the spinner) changes what the
    // bar needs.
    if (event->type() == QEvent::LayoutRequest) {
        fitBarToWidth();
    }
    return handled;
}

void ILRLogWindow::fitBarToWidth()
{
    const QMargins margins = layout()->contentsMargins();
    const int start = m_barStart->minimumSize().width();
    const int end = m_barEnd->minimumSize().width();
    const int oneRow =
        start + std::max(0, m_bar->spacing()) + end + margins.left() + margins.right();
    // The window may be as narrow as the bar on two rows, whichever it has now.
    const int narrowest = std::max(start, end) + margins.left() + margins.right();
    if (minimumWidth() != narrowest) {
        setMinimumWidth(narrowest);
    }
    const QBoxLayout::Direction direction =
        width() < oneRow ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight;
    if (m_bar->direction() != direction) {
        m_bar->setDirection(direction);
    }
}
