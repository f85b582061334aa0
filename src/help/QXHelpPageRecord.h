#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One named place in a help page, written <a name="[Category]Display_Name">.
struct QXHelpAnchorRecord
{
    QString path;                    // "Path": relative path of the page that holds it
    QString fragment;                // "Fragment": the name exactly as written in the page
    QString name;                    // "Name": display name ("Keyboard Shortcuts")
    QString sortString;              // "Sort String": the display name without punctuation
    std::optional<QString> category; // "Category": quick-access category, when named

    // In a Contents list of its own, the anchor is followed by a separator.
    bool isFollowedBySeparator() const { return fragment.endsWith(QLatin1Char('_')); }

    bool operator==(const QXHelpAnchorRecord&) const = default;
};

// One page of the help book.
struct QXHelpPageRecord
{
    QString index;                          // "Index": place in the contents (numeric order)
    QString path;                           // "Path": relative path in URL form ("a%20b.html")
    QString title;                          // "Title": the title element, else the path
    QString text;                           // "Text": visible text of the body
    QStringList words;                      // "Words": distinct lower-case words, first-seen order
    QList<QXHelpAnchorRecord> anchors;      // "Anchors": in page order
    std::optional<QStringList> quickAccess; // "Quick Access": absent without the marker

    // The Contents menu puts a separator after this page.
    bool isFollowedBySeparator() const { return index.endsWith(QLatin1Char('_')); }

    bool operator==(const QXHelpPageRecord&) const = default;
};

// A search result that carries what is needed to open it with the words
// highlighted.
struct QXHelpSearchItem
{
    QString title;     // "Title": the page title
    QString path;      // "Path": the page's relative path
    QStringList words; // "Words": the query's words, to highlight once the page loads

    bool operator==(const QXHelpSearchItem&) const = default;
};
