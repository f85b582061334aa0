#include "search/MenuSearchPopup.h"

#include "foundation/QXLocalized.h"
#include "platform/menus/qt/MenuPalette.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <utility>

namespace {

constexpr int KeyRole = Qt::UserRole + 1;
constexpr int MarkRole = Qt::UserRole + 2;
// Where the item's own title begins in its path.
constexpr int TitleStartRole = Qt::UserRole + 3;

constexpr int MinimumWidth = 360;
constexpr int MaximumWidth = 720;
constexpr int Padding = 6;

// Draws a result like a menu item: mark, path (the menus above dimmed),
// key equivalent on the right.
class ResultDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const bool enabled = (item.state & QStyle::State_Enabled) != 0;
        const bool selected = enabled && (item.state & QStyle::State_Selected) != 0;
        const QPalette& palette = item.palette;
        const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
        painter->save();
        if (selected) {
            painter->fillRect(item.rect, palette.brush(QPalette::Active, QPalette::Highlight));
        }
        const QColor text = selected ? palette.color(QPalette::Active, QPalette::HighlightedText)
                                     : palette.color(group, QPalette::Text);
        QColor dim = text;
        dim.setAlphaF(enabled ? 0.65F : 0.5F);
        const QFontMetrics metrics(item.font);
        painter->setFont(item.font);
        QRect area = item.rect.adjusted(Padding, 0, -Padding * 2, 0);

        const int markWidth = metrics.height();
        const QString mark = index.data(MarkRole).toString();
        if (!mark.isEmpty()) {
            painter->setPen(text);
            painter->drawText(QRect(area.left(), area.top(), markWidth, area.height()),
                              Qt::AlignCenter, mark);
        }
        area.setLeft(area.left() + markWidth + Padding);

        const QString key = index.data(KeyRole).toString();
        if (!key.isEmpty()) {
            const int keyWidth = metrics.horizontalAdvance(key);
            painter->setPen(dim);
            painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter, key);
            area.setRight(area.right() - keyWidth - Padding * 3);
        }

        const QString path = index.data(Qt::DisplayRole).toString();
        const qsizetype titleStart =
            qBound(qsizetype(0), qsizetype(index.data(TitleStartRole).toInt()), path.size());
        const QString above = path.left(titleStart);
        const QString title = path.mid(titleStart);
        const int titleWidth = qMin(metrics.horizontalAdvance(title), area.width());
        const QString shownAbove =
            metrics.elidedText(above, Qt::ElideMiddle, qMax(0, area.width() - titleWidth));
        painter->setPen(dim);
        painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shownAbove);
        QRect titleArea = area;
        titleArea.setLeft(area.left() + metrics.horizontalAdvance(shownAbove));
        painter->setPen(text);
        painter->drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter,
                          metrics.elidedText(title, Qt::ElideRight, titleArea.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics metrics(option.font);
        const QString key = index.data(KeyRole).toString();
        const int width = Padding + metrics.height() + Padding +
                          metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) +
                          (key.isEmpty() ? 0 : Padding * 3 + metrics.horizontalAdvance(key)) +
                          Padding * 2;
        return {width, metrics.height() + Padding};
    }
};

QString markText(const QString& mark)
{
    if (mark.isEmpty()) {
        return {};
    }
    // The mixed mark is a dash; anything else marks an item that is on.
    return mark.at(0) == QChar(u'-') ? QStringLiteral("\u2013") : QStringLiteral("\u2713");
}

QString accessibleText(const QString& shownPath, const MenuSearchModel::Result& result)
{
    QStringList parts{shownPath};
    if (!result.keyEquivalent.isEmpty()) {
        parts.append(result.keyEquivalent);
    }
    if (!result.item.mark.isEmpty()) {
        parts.append(QXLocalized::tr("checked"));
    }
    if (!result.item.enabled) {
        parts.append(QXLocalized::tr("dimmed"));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

MenuSearchPopup::MenuSearchPopup(MenuSearchModel& model, platform::Menu::Appearance appearance,
                                 int fontPointSize)
    : QFrame(nullptr, Qt::Popup | Qt::FramelessWindowHint), m_model(model)
{
    setObjectName(QStringLiteral("menuSearch"));
    setWindowTitle(QXLocalized::tr("Search Menus"));
    setAccessibleName(windowTitle());
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    if (appearance != platform::Menu::Appearance::System) {
        setPalette(platform::MenuPalette::forAppearance(appearance));
    }
    if (fontPointSize > 0) {
        QFont enlarged = font();
        enlarged.setPointSize(fontPointSize);
        setFont(enlarged);
    }
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    m_field = new QLineEdit(this);
    m_field->setAccessibleName(QXLocalized::tr("Search text"));
    m_field->setPlaceholderText(QXLocalized::tr("Search menus"));
    m_field->setClearButtonEnabled(false);
    m_field->installEventFilter(this);

    m_list = new QListWidget(this);
    m_list->setAccessibleName(QXLocalized::tr("Matching menu items"));
    m_list->setItemDelegate(new ResultDelegate(m_list));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setUniformItemSizes(true);
    m_list->setMouseTracking(true);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QListWidget::itemEntered, this, [this](QListWidgetItem* item) {
        if (item->flags() & Qt::ItemIsEnabled) {
            m_list->setCurrentItem(item);
            m_selectionChosen = true;
        }
    });
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { choose(m_list->row(item)); });

    m_status = new QLabel(this);
    m_status->setAccessibleName(QXLocalized::tr("Search status"));
    m_status->setWordWrap(true);
    m_status->setForegroundRole(QPalette::PlaceholderText);
    m_status->setContentsMargins(Padding, 0, Padding, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Padding / 2, Padding / 2, Padding / 2, Padding / 2);
    layout->setSpacing(Padding / 2);
    layout->addWidget(m_field);
    layout->addWidget(m_list);
    layout->addWidget(m_status);

    connect(m_field, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_chooseWhenRead = false;
        // New text: the best match is selected again.
        m_selectionChosen = false;
        if (text.isEmpty()) {
            finish(Outcome::BackToMenu);
            return;
        }
        m_model.setQuery(text);
    });
    connect(&m_model, &MenuSearchModel::changed, this, &MenuSearchPopup::showResults);
}

MenuSearchPopup::~MenuSearchPopup() = default;

MenuSearchPopup::Outcome MenuSearchPopup::exec(const QPoint& globalPosition, const QString& text)
{
    open(globalPosition, text);
    return wait();
}

void MenuSearchPopup::open(const QPoint& globalPosition, const QString& text)
{
    m_anchor = globalPosition;
    m_finished = false;
    m_outcome = Outcome::Closed;
    m_chosen.reset();
    m_chooseWhenRead = false;
    m_selectionChosen = false;
    m_keysForMenu.clear();
    m_restingPointer = QCursor::pos();
    m_field->setText(text);
    m_model.setQuery(text);
    showResults();
    // Shown like a menu: it takes the keyboard through its grab and never
    // asks the window manager to activate it, which would make Trovix the
    // application in front instead of the one it searches.
    show();
    m_field->setFocus(Qt::PopupFocusReason);
}

MenuSearchPopup::Outcome MenuSearchPopup::wait()
{
    if (!m_finished) {
        QEventLoop loop;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
    }
    if (m_outcome != Outcome::BackToMenu) {
        hide();
    }
    return m_outcome;
}

std::vector<std::unique_ptr<QKeyEvent>> MenuSearchPopup::takeKeysForMenu()
{
    return std::exchange(m_keysForMenu, {});
}

QString MenuSearchPopup::statusText() const
{
    return m_status->isHidden() ? QString() : m_status->text();
}

int MenuSearchPopup::currentRow() const
{
    return m_list->currentRow();
}

void MenuSearchPopup::showResults()
{
    const QList<MenuSearchModel::Result>& results = m_model.results();
    // The best match is selected, unless the user picked another result:
    // that one stays selected while it is still offered, as menus arrive.
    QString selectedPath;
    qint64 selectedPid = 0;
    if (const int row = m_list->currentRow();
        m_selectionChosen && row >= 0 && row < m_list->count()) {
        selectedPath = m_list->item(row)->data(Qt::DisplayRole).toString();
        selectedPid = m_list->item(row)->data(Qt::UserRole).toLongLong();
    }
    m_list->clear();
    int selectRow = -1;
    const bool namesApplications = m_model.coversSeveralApplications();
    for (const MenuSearchModel::Result& result : results) {
        const QString shownPath =
            namesApplications && !result.application.isEmpty()
                ? result.application + MenuSearchModel::pathSeparator() + result.displayPath
                : result.displayPath;
        auto* item = new QListWidgetItem(shownPath, m_list);
        item->setData(Qt::UserRole, result.pid);
        item->setData(KeyRole, result.keyEquivalent);
        item->setData(MarkRole, markText(result.item.mark));
        const QString title = result.displayPath.section(MenuSearchModel::pathSeparator(), -1);
        item->setData(TitleStartRole, int(shownPath.size() - title.size()));
        item->setData(Qt::AccessibleTextRole, accessibleText(shownPath, result));
        if (!result.item.enabled) {
            // Shown so that the user learns the item exists, never chosen.
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
        } else if (selectRow < 0 || (shownPath == selectedPath && result.pid == selectedPid)) {
            selectRow = m_list->count() - 1;
        }
    }
    if (selectRow >= 0) {
        m_list->setCurrentRow(selectRow);
    }

    QStringList status;
    const QStringList stalled = m_model.stalledApplications();
    if (m_model.isReading()) {
        status.append(QXLocalized::tr("Reading menus\u2026"));
    } else if (results.isEmpty() && !m_model.query().isEmpty()) {
        status.append(
            m_model.itemCount() == 0
                ? QXLocalized::tr("No menus could be read.")
                : QXLocalized::tr("No menu item matches \u201c%1\u201d.").arg(m_model.query()));
    }
    for (const QString& name : stalled) {
        status.append(
            QXLocalized::tr("%1 stopped answering; only what was read is searched.").arg(name));
    }
    m_status->setText(status.join(u'\n'));
    m_status->setVisible(!status.isEmpty());
    m_list->setVisible(m_list->count() > 0);
    fitToScreen();
    if (m_chooseWhenRead && !m_model.isReading()) {
        m_chooseWhenRead = false;
        choose(m_list->currentRow());
    }
}

void MenuSearchPopup::fitToScreen()
{
    int rowsHeight = 0;
    int widest = MinimumWidth;
    for (int row = 0; row < m_list->count(); ++row) {
        const QSize hint = m_list->sizeHintForIndex(m_list->model()->index(row, 0));
        rowsHeight += hint.height();
        widest = qMax(widest, hint.width());
    }
    const int listHeight = rowsHeight + 2 * m_list->frameWidth();
    m_list->setFixedHeight(listHeight);
    QScreen* screen = QGuiApplication::screenAt(m_anchor);
    const QRect available =
        screen ? screen->availableGeometry() : QRect(m_anchor, QSize(MaximumWidth, 800));
    const int width = qMin(qMin(widest + Padding * 2, MaximumWidth), available.width());
    // The height of what is shown, worked out here: the layout would keep
    // the list's minimum height even when it holds one row.
    const QMargins margins = layout()->contentsMargins() + contentsMargins();
    const int spacing = layout()->spacing();
    int height = margins.top() + margins.bottom() + m_field->sizeHint().height();
    if (!m_list->isHidden()) {
        height += spacing + listHeight;
    }
    if (!m_status->isHidden()) {
        height += spacing + m_status->heightForWidth(width - margins.left() - margins.right());
    }
    setFixedSize(width, height);
    // Grows down and to the right from the pointer, like a menu, and moves
    // back inside the screen where it would leave it.
    QPoint position = m_anchor;
    position.setX(qBound(available.left(), position.x(), available.right() - width + 1));
    position.setY(qBound(available.top(), position.y(), available.bottom() - height + 1));
    move(position);
}

void MenuSearchPopup::moveSelection(int step)
{
    const int count = m_list->count();
    if (count == 0) {
        return;
    }
    int row = m_list->currentRow();
    for (int tries = 0; tries < count; ++tries) {
        row = row < 0 ? (step > 0 ? 0 : count - 1) : (row + step + count) % count;
        if (m_list->item(row)->flags() & Qt::ItemIsEnabled) {
            m_list->setCurrentRow(row);
            m_selectionChosen = true;
            return;
        }
    }
}

bool MenuSearchPopup::choose(int row)
{
    const QList<MenuSearchModel::Result>& results = m_model.results();
    if (row < 0 || row >= results.size() || !results.at(row).item.enabled) {
        return false;
    }
    m_chosen = results.at(row);
    finish(Outcome::Chosen);
    return true;
}

void MenuSearchPopup::finish(Outcome outcome)
{
    if (m_finished) {
        return;
    }
    m_finished = true;
    m_outcome = outcome;
    if (m_loop) {
        m_loop->quit();
    }
}

bool MenuSearchPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && m_finished && m_outcome == Outcome::BackToMenu &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        // Typed after Escape, before the menu is back: meant for the menu.
        const auto* key = static_cast<QKeyEvent*>(event);
        m_keysForMenu.push_back(
            std::make_unique<QKeyEvent>(key->type(), key->key(), key->modifiers(), key->text(),
                                        key->isAutoRepeat(), quint16(key->count())));
        return true;
    }
    if (watched == m_list->viewport() && event->type() == QEvent::MouseMove) {
        // The window system reports a pointer as moving into a window that
        // opens under it; only a move to another place selects a result.
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (m_restingPointer && at == *m_restingPointer) {
            return true;
        }
        m_restingPointer.reset();
        return QFrame::eventFilter(watched, event);
    }
    if (watched != m_field || event->type() != QEvent::KeyPress) {
        return QFrame::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Down:
        m_chooseWhenRead = false;
        moveSelection(1);
        return true;
    case Qt::Key_Up:
        m_chooseWhenRead = false;
        moveSelection(-1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Typed ahead of the results (the text and Return in one go): the
        // best match is chosen as soon as every menu is read.
        m_chooseWhenRead = !choose(m_list->currentRow()) && m_model.isReading();
        return true;
    case Qt::Key_Escape:
        finish(Outcome::BackToMenu);
        return true;
    default:
        return QFrame::eventFilter(watched, event);
    }
}

void MenuSearchPopup::hideEvent(QHideEvent* event)
{
    // A click outside closes a pop-up window without asking.
    finish(m_finished ? m_outcome : Outcome::Closed);
    QFrame::hideEvent(event);
}
