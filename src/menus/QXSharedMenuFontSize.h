#pragma once

// The font size of the pop-up being built, in points; 0 means the menu's own
// font. Set at the start of every pop-up from "Menu Font Size" and read when
// bold titles and drawn images are sized. Main thread only.
namespace QXSharedMenuFontSize {

int value();
void setValue(int points);

} // namespace QXSharedMenuFontSize
