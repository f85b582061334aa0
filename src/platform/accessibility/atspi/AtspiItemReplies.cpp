#include "platform/accessibility/atspi/AtspiItemReplies.h"

#include "platform/accessibility/AccessibilityNames.h"

#include <QByteArrayView>
#include <algorithm>

namespace platform::atspi {

QString itemTitle(const char* name)
{
    if (!name) {
        return QString();
    }
    // A UTF-8 character takes at most four bytes; leading blanks that are
    // trimmed away get as much again.
    constexpr qsizetype ReadLimit = qsizetype(MaximumTitleLength) * 8;
    const QByteArrayView bytes(name, qstrnlen(name, ReadLimit));
    QString title = QString::fromUtf8(bytes).trimmed();
    if (title.size() > MaximumTitleLength) {
        qsizetype cut = MaximumTitleLength - 1;
        if (title.at(cut - 1).isHighSurrogate()) {
            --cut;
        }
        title.truncate(cut);
        title.append(QChar(0x2026));
    }
    return title;
}

ItemStates itemStates(std::optional<quint64> bits)
{
    ItemStates states;
    if (!bits) {
        return states;
    }
    const auto has = [&bits](AtspiStateType state) { return (*bits & stateBit(state)) != 0; };
    states.valid = true;
    states.enabled = has(ATSPI_STATE_ENABLED) || has(ATSPI_STATE_SENSITIVE);
    states.visible = has(ATSPI_STATE_VISIBLE);
    states.showing = has(ATSPI_STATE_SHOWING);
    states.checked = has(ATSPI_STATE_CHECKED);
    states.indeterminate = has(ATSPI_STATE_INDETERMINATE);
    return states;
}

bool isGtkToolkit(const QString& name)
{
    return name.startsWith(QStringLiteral("GTK"), Qt::CaseInsensitive) ||
           name.compare(QStringLiteral("GAIL"), Qt::CaseInsensitive) == 0;
}

ChildrenToRead childrenToRead(qint64 reportedCount)
{
    if (reportedCount <= 0) {
        return {};
    }
    const qint64 read = std::min<qint64>(reportedCount, accessibility::MaximumMenuChildren);
    return {int(read), reportedCount - read};
}

std::optional<MenuKeyBinding> itemKeyBinding(const QString& text, const QString& title)
{
    if (text.size() > MaximumKeyBindingLength || text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    // Qt's mnemonics are told from shortcuts by the item's title.
    return MenuKeyBinding::fromKeyBindingText(text, title);
}

int submenuChildIndex(const QList<std::optional<AtspiRole>>& roles)
{
    const qsizetype count = std::min<qsizetype>(roles.size(), SubmenuProbeLimit);
    for (qsizetype i = 0; i < count; ++i) {
        if (roles.at(i) == ATSPI_ROLE_POPUP_MENU || roles.at(i) == ATSPI_ROLE_MENU) {
            return int(i);
        }
    }
    return -1;
}

} // namespace platform::atspi
