#pragma once

#include <QString>
#include <optional>

class ILRIntegratedLogReader;

// Optional hooks of the log reader. Each hook is asked for with its
// respondsTo...() before it is called; the program sets no delegate, so the
// reader's own defaults apply.
class ILRIntegratedLogReaderDelegate
{
public:
    virtual ~ILRIntegratedLogReaderDelegate() = default;

    // The level of the query: 0 default, 1 info, 2 debug.
    virtual bool respondsToFilteringLevel() const { return false; }
    virtual qint64 filteringLevelForLogReader(ILRIntegratedLogReader&) { return 0; }
    // The predicate of the query; nothing means the default one.
    virtual bool respondsToFilteringPredicate() const { return false; }
    virtual std::optional<QString> filteringPredicateForLogReader(ILRIntegratedLogReader&)
    {
        return std::nullopt;
    }
    // The name under which the window's frame is kept; nothing or an empty
    // name: the frame is not kept and the window opens centred.
    virtual bool respondsToWindowFrameAutosaveName() const { return false; }
    virtual std::optional<QString> windowFrameAutosaveNameForLogReader(ILRIntegratedLogReader&)
    {
        return std::nullopt;
    }
    // The debug-logging switch, when the delegate keeps it.
    virtual bool respondsToIsDebugLoggingEnabled() const { return false; }
    virtual bool isDebugLoggingEnabledForLogReader(ILRIntegratedLogReader&) { return false; }
    virtual bool respondsToSetDebugLoggingEnabled() const { return false; }
    virtual void setDebugLoggingEnabled(bool, ILRIntegratedLogReader&) {}
};
