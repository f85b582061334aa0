#include "support/TemporaryDefaults.h"

TemporaryDefaults::TemporaryDefaults()
{
    platform::UserDefaults::setStandard(std::make_unique<platform::UserDefaults>(filePath()));
}

TemporaryDefaults::~TemporaryDefaults()
{
    platform::UserDefaults::setStandard(nullptr);
}

QString TemporaryDefaults::filePath() const
{
    return m_dir.filePath(QStringLiteral("com.quirkworks.Trovix.plist"));
}
