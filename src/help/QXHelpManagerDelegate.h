#pragma once

#include <QString>
#include <optional>

class QXHelpManager;

// Receives the command links of help pages. Both methods are optional: the
// defaults ignore a message and keep the standard alert text.
class QXHelpManagerDelegate
{
public:
    virtual ~QXHelpManagerDelegate() = default;

    // A message link was clicked; message is the text after "://message/".
    virtual void helpManagerDidReceiveMessage(QXHelpManager&, const QString& /*message*/) {}
    // A setting was changed (or reverted) from a default link: the informative
    // text of the alert, or none for the standard one.
    virtual std::optional<QString> helpManagerDidSetOrRemoveUserDefault(QXHelpManager&,
                                                                        const QString& /*key*/)
    {
        return std::nullopt;
    }
};
