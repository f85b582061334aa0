#include "platform/logstore/LogEntry.h"

#include <cstdio>
#include <ctime>

namespace platform::logstore {

namespace {

constexpr QByteArrayView messageField = "MESSAGE";
constexpr QByteArrayView executableField = "_EXE";
constexpr QByteArrayView identifierField = "SYSLOG_IDENTIFIER";
constexpr QByteArrayView pidField = "_PID";
constexpr QByteArrayView priorityField = "PRIORITY";
constexpr QByteArrayView logEvent = "logEvent";

} // namespace

void LogEntry::clear()
{
    m_data.resize(0);
    m_fields.clear();
    m_realtime = 0;
    m_timestampSize = 0;
}

void LogEntry::setRealtime(qint64 microseconds)
{
    m_realtime = microseconds;
    const auto seconds = static_cast<std::time_t>(microseconds / 1000000);
    const auto fraction = static_cast<int>(microseconds % 1000000);
    std::tm local{};
    if (microseconds < 0 || localtime_r(&seconds, &local) == nullptr) {
        m_timestampSize = 0;
        return;
    }
    const long offsetMinutes = local.tm_gmtoff / 60;
    const long absoluteOffset = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    const int written = std::snprintf(
        m_timestamp, sizeof m_timestamp, "%04d-%02d-%02d %02d:%02d:%02d.%06d%c%02ld%02ld",
        local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
        local.tm_sec, fraction, offsetMinutes < 0 ? '-' : '+', absoluteOffset / 60,
        absoluteOffset % 60);
    m_timestampSize = written > 0 && written < int(sizeof m_timestamp) ? written : 0;
}

void LogEntry::addJournalField(QByteArrayView nameAndValue)
{
    const qsizetype equals = nameAndValue.indexOf('=');
    if (equals < 0) {
        addJournalField(nameAndValue, {});
        return;
    }
    addJournalField(nameAndValue.first(equals), nameAndValue.sliced(equals + 1));
}

void LogEntry::addJournalField(QByteArrayView name, QByteArrayView value)
{
    Span span;
    span.nameStart = m_data.size();
    span.nameSize = name.size();
    m_data.append(name);
    span.valueStart = m_data.size();
    span.valueSize = value.size();
    m_data.append(value);
    m_fields.push_back(span);
}

QByteArrayView LogEntry::nameOf(const Span& span) const
{
    return QByteArrayView(m_data).sliced(span.nameStart, span.nameSize);
}

QByteArrayView LogEntry::valueOf(const Span& span) const
{
    return QByteArrayView(m_data).sliced(span.valueStart, span.valueSize);
}

QByteArrayView LogEntry::journalValue(QByteArrayView name) const
{
    for (const Span& span : m_fields) {
        if (nameOf(span) == name) {
            return valueOf(span);
        }
    }
    return {};
}

QByteArrayView LogEntry::value(QByteArrayView key) const
{
    if (key == keys::eventMessage) {
        return journalValue(messageField);
    }
    if (key == keys::processImagePath || key == keys::senderImagePath) {
        // The journal records the executable only; code in a library writes
        // under its program's name.
        return journalValue(executableField);
    }
    if (key == keys::subsystem) {
        return journalValue(identifierField);
    }
    if (key == keys::processID) {
        return journalValue(pidField);
    }
    if (key == keys::eventType) {
        return logEvent;
    }
    if (key == keys::messageType) {
        return messageType();
    }
    if (key == keys::timestamp) {
        return timestamp();
    }
    return journalValue(key);
}

int LogEntry::priority() const
{
    const QByteArrayView text = journalValue(priorityField);
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '7') {
        return text[0] - '0';
    }
    return 5;
}

QByteArrayView LogEntry::messageType() const
{
    switch (priority()) {
    case 0:
    case 1:
    case 2:
        return "Fault";
    case 3:
        return "Error";
    case 6:
        return "Info";
    case 7:
        return "Debug";
    default:
        return "Default";
    }
}

QByteArrayView LogEntry::timestamp() const
{
    return QByteArrayView(m_timestamp, m_timestampSize);
}

LogEntry::Field LogEntry::journalField(qsizetype index) const
{
    const Span& span = m_fields[std::size_t(index)];
    return {nameOf(span), valueOf(span)};
}

QByteArrayView journalFieldOf(QByteArrayView key)
{
    if (key == keys::eventMessage) {
        return messageField;
    }
    if (key == keys::processImagePath || key == keys::senderImagePath) {
        return executableField;
    }
    if (key == keys::subsystem) {
        return identifierField;
    }
    if (key == keys::processID) {
        return pidField;
    }
    if (key == keys::messageType) {
        return priorityField;
    }
    if (key == keys::eventType || key == keys::timestamp) {
        return {};
    }
    return key;
}

bool isReportedUnderAnotherName(QByteArrayView journalName)
{
    return journalName == messageField || journalName == executableField ||
           journalName == identifierField || journalName == pidField;
}

} // namespace platform::logstore
