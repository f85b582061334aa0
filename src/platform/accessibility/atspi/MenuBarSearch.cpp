#include "platform/accessibility/atspi/MenuBarSearch.h"

#include <atspi/atspi.h>

namespace platform::atspi {

bool mayHoldMenuBar(unsigned int role)
{
    switch (role) {
    case ATSPI_ROLE_MENU:
    case ATSPI_ROLE_MENU_ITEM:
    case ATSPI_ROLE_POPUP_MENU:
    case ATSPI_ROLE_LIST:
    case ATSPI_ROLE_LIST_BOX:
    case ATSPI_ROLE_TABLE:
    case ATSPI_ROLE_TREE:
    case ATSPI_ROLE_TREE_TABLE:
    case ATSPI_ROLE_DOCUMENT_FRAME:
    case ATSPI_ROLE_DOCUMENT_WEB:
    case ATSPI_ROLE_TEXT:
    case ATSPI_ROLE_ENTRY:
    case ATSPI_ROLE_TERMINAL:
    case ATSPI_ROLE_PUSH_BUTTON:
    case ATSPI_ROLE_LABEL:
    case ATSPI_ROLE_STATUS_BAR:
    case ATSPI_ROLE_SCROLL_BAR:
        return false;
    default:
        return true;
    }
}

} // namespace platform::atspi
