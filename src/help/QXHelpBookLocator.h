#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>

struct QXHelpBookSource;

// Finds the help book's folder and its pages.
namespace QXHelpBookLocator {

// The localisation folders to try, best first: for each preferred language
// its identifier and, where it has one, its English name, each with the
// extension "lproj"; then "en.lproj" and "English.lproj"; then "" (the
// container itself).
QStringList localizationCandidates(const QStringList& preferredLanguages);
// The candidates for the user's interface languages, computed once.
const QStringList& localizationCandidates();

// container/candidate/folderName for the first candidate where that is an
// existing folder; an empty string when there is none, an argument is empty
// or the container is not a folder.
QString localizedPathToDirectory(const QString& folderName, const QString& container,
                                 const QStringList& candidates = localizationCandidates());

// Every page of the folder at helpFolder (a resolved path): files ending in
// ".html" at any depth, hidden files and folders skipped, files whose real
// location lies outside the folder left out. Relative path (URL form) -> file
// URL.
QMap<QString, QUrl> pageURLsByRelativePath(const QString& helpFolder);

struct Book
{
    QString folder; // resolved path of the help folder; empty when none was found
    QMap<QString, QUrl> pages;
};

// The per-user folder when it holds pages (its localised copy of the book's
// folder inside "Help", the book's folder itself, or "Help" itself, in this
// order), else the bundle's localised copy.
Book locate(const QXHelpBookSource& source);

} // namespace QXHelpBookLocator
