#include "support/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>

namespace {

// A part of a composite control (a scroll bar, a scroll area's viewport, a
// combo box's or spin box's own field) is read as part of that control.
bool isPartOfAControl(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    if (qobject_cast<const QScrollBar*>(widget) != nullptr ||
        qobject_cast<const QComboBox*>(parent) != nullptr ||
        qobject_cast<const QAbstractSpinBox*>(parent) != nullptr) {
        return true;
    }
    const auto* area = qobject_cast<const QAbstractScrollArea*>(parent);
    return area != nullptr && area->viewport() == widget;
}

bool isControl(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return !label->text().isEmpty() || !label->pixmap().isNull();
    }
    return widget->focusPolicy() != Qt::NoFocus ||
           qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}

// The control's own name, or else the text of a label that names it (a
// buddy label), which screen readers read in its place.
QString accessibleName(QAccessibleInterface* accessible)
{
    QString name = accessible->text(QAccessible::Name).trimmed();
    const auto labels = accessible->relations(QAccessible::Label);
    for (auto label = labels.cbegin(); name.isEmpty() && label != labels.cend(); ++label) {
        name = label->first->text(QAccessible::Name).trimmed();
    }
    return name;
}

} // namespace

QStringList unnamedControls(const QWidget* window)
{
    QStringList unnamed;
    int controls = 0;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->window() != window || isPartOfAControl(widget) ||
            !isControl(widget)) {
            continue;
        }
        ++controls;
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget));
        if (accessible == nullptr || accessibleName(accessible).isEmpty()) {
            unnamed.append(QString::fromLatin1(widget->metaObject()->className()) + u' ' +
                           widget->objectName());
        }
    }
    if (controls == 0) {
        unnamed.append(QStringLiteral("no control is on screen"));
    }
    return unnamed;
}
