#pragma once

#include <QString>
#include <QStringView>

// How the help index compares texts.
namespace QXHelpTextComparison {

// Numeric string order: runs of decimal digits compare by their value, every
// other character by its code ("1.2" < "1.10" < "2" < "10"; letter case
// counts). Answers <0, 0 or >0.
int numericCompare(QStringView a, QStringView b);

// The form in which search texts are compared: compatibility-decomposed,
// combining marks dropped, case-folded, so that "Clé" and "cle", "ＫＥＹ" and
// "key" compare equal.
QString searchFolded(QStringView text);

} // namespace QXHelpTextComparison
