#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// Installs the translations of the program's texts (the bundle's
// Resources/<localization>.lproj/Localizable.qm) and of Qt's own texts
// (standard buttons and dialogs) for the localization of the main bundle that
// serves languages best; whatever an earlier call installed goes first. The
// environment decides by default: LANGUAGE, a colon-separated list, then
// LC_ALL, LC_MESSAGES and LANG. Returns the localization installed, or an
// empty string when the English texts stay.
QString QXInstallTranslations(const QStringList& languages = QLocale::system().uiLanguages());
