#pragma once

#include "platform/loginitems/LoginItems.h"

#include <QSet>

namespace platform {

// What tests do to the in-memory login items behind the program's back.
class MemoryLoginItemsControl
{
public:
    virtual ~MemoryLoginItemsControl() = default;

    // Puts an entry into the list as another program (or the user) would.
    virtual void addItem(const LoginItem& item) = 0;
    virtual QList<LoginItem> items() const = 0;
    // Makes the list unreadable (snapshot answers nothing).
    virtual void setListUnavailable(bool unavailable) = 0;
    // Makes removing the entry with that identifier fail.
    virtual void setRemovalRefused(const QString& identifier, bool refused) = 0;
    // Makes inserting fail.
    virtual void setInsertionRefused(bool refused) = 0;

    // The helper: whether there is one, whether it is on, whether it may be
    // switched on, and whether its state can be read.
    virtual void setHelper(bool present, bool enabled, bool canEnable) = 0;
    virtual void setHelperStateUnavailable(bool unavailable) = 0;
    // Makes the helper answer a switch later, as the desktop's portal does:
    // the switch is only asked for until answerHelperRequest() grants or
    // declines it (false when nothing was asked).
    virtual void setHelperAnswersLater(bool later) = 0;
    virtual bool answerHelperRequest(bool granted) = 0;

    // How often the program read the list or the helper's state, and how
    // often it switched the helper.
    virtual int snapshotCount() const = 0;
    virtual int helperReadCount() const = 0;
    virtual int helperSwitchCount() const = 0;
};

// The login-items list in memory. Keeps the XDG backend's contract: entries
// are named by identifier, the program's own entry is "<identifier>.desktop",
// inserting replaces an entry of that name and appends otherwise.
class MemoryLoginItems : public LoginItems, public MemoryLoginItemsControl
{
public:
    explicit MemoryLoginItems(const QString& identifier = QStringLiteral("com.quirkworks.Trovix"));

    std::optional<QList<LoginItem>> snapshot() override;
    bool remove(const LoginItem& item) override;
    std::optional<LoginItem> insert(const QString& applicationPath) override;
    bool hasHelper() const override { return m_hasHelper; }
    std::optional<bool> isHelperEnabled() override;
    bool canEnableHelper() const override { return m_canEnableHelper; }
    bool setHelperEnabled(bool enabled) override;

    void addItem(const LoginItem& item) override;
    QList<LoginItem> items() const override { return m_items; }
    void setListUnavailable(bool unavailable) override { m_listUnavailable = unavailable; }
    void setRemovalRefused(const QString& identifier, bool refused) override;
    void setInsertionRefused(bool refused) override { m_insertionRefused = refused; }
    void setHelper(bool present, bool enabled, bool canEnable) override;
    void setHelperStateUnavailable(bool unavailable) override
    {
        m_helperStateUnavailable = unavailable;
    }
    void setHelperAnswersLater(bool later) override { m_helperAnswersLater = later; }
    bool answerHelperRequest(bool granted) override;
    int snapshotCount() const override { return m_snapshotCount; }
    int helperReadCount() const override { return m_helperReadCount; }
    int helperSwitchCount() const override { return m_helperSwitchCount; }

private:
    QString m_entryName;
    QList<LoginItem> m_items;
    QSet<QString> m_refusedRemovals;
    bool m_listUnavailable = false;
    bool m_insertionRefused = false;
    bool m_hasHelper = false;
    bool m_helperEnabled = false;
    bool m_canEnableHelper = false;
    bool m_helperStateUnavailable = false;
    bool m_helperAnswersLater = false;
    std::optional<bool> m_pendingHelperState;
    int m_snapshotCount = 0;
    int m_helperReadCount = 0;
    int m_helperSwitchCount = 0;
};

} // namespace platform
