#include "platform/statusbar/memory/MemoryStatusBar.h"

namespace platform {

std::unique_ptr<StatusItem> MemoryStatusBar::statusItemWithLength(double length)
{
    auto item = std::make_unique<MemoryStatusItem>(this, length);
    m_liveItems.append(item.get());
    ++itemsMade;
    return item;
}

MemoryStatusItem::~MemoryStatusItem()
{
    m_bar->m_liveItems.removeAll(this);
}

void MemoryStatusItem::setImage(const QImage& newImage, bool isTemplate)
{
    image = newImage;
    imageIsTemplate = isTemplate;
    ++imageChanges;
}

void MemoryStatusItem::setAlternateImage(const QImage& newImage, bool isTemplate)
{
    alternateImage = newImage;
    alternateImageIsTemplate = isTemplate;
}

} // namespace platform
