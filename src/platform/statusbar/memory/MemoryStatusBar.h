#pragma once

#include "platform/statusbar/StatusBar.h"

#include <QList>

namespace platform {

class MemoryStatusItem;

// A tray for tests: it records the items made in it and whether they live.
class MemoryStatusBar : public StatusBar
{
public:
    bool isAvailable() const override { return available; }
    std::unique_ptr<StatusItem> statusItemWithLength(double length) override;

    // The items that exist now.
    QList<MemoryStatusItem*> liveItems() const { return m_liveItems; }
    int itemsMade = 0;
    bool available = true;

private:
    friend class MemoryStatusItem;
    QList<MemoryStatusItem*> m_liveItems;
};

class MemoryStatusItem : public StatusItem
{
public:
    MemoryStatusItem(MemoryStatusBar* bar, double length) : m_bar(bar), m_length(length) {}
    ~MemoryStatusItem() override;

    double length() const override { return m_length; }
    void setImage(const QImage& image, bool isTemplate) override;
    void setAlternateImage(const QImage& image, bool isTemplate) override;
    void setHighlightMode(bool highlight) override { highlightMode = highlight; }
    void setAutosaveName(const QString& name) override { autosaveName = name; }
    void setMenu(Menu* menu) override { m_menu = menu; }
    Menu* menu() const override { return m_menu; }

    QImage image;
    bool imageIsTemplate = false;
    QImage alternateImage;
    bool alternateImageIsTemplate = false;
    bool highlightMode = false;
    QString autosaveName;
    int imageChanges = 0;

private:
    MemoryStatusBar* m_bar;
    double m_length;
    Menu* m_menu = nullptr;
};

} // namespace platform
