#include "support/LogCapture.h"

#include "platform/log/SystemLog.h"

LogCapture::LogCapture()
{
    platform::setSystemLogSink([this](const QString& line) { m_lines.append(line); });
}

LogCapture::~LogCapture()
{
    platform::setSystemLogSink({});
}
