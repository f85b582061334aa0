#include "menus/QXSharedMenuFontSize.h"

namespace QXSharedMenuFontSize {

namespace {

int sharedSize = 0;

} // namespace

int value()
{
    return sharedSize;
}

void setValue(int points)
{
    sharedSize = points;
}

} // namespace QXSharedMenuFontSize
