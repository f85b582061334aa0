#pragma once

#include "platform/defaults/UserDefaults.h"

#include <QTemporaryDir>

// Installs a fresh process-wide settings store on a temporary file for the
// lifetime of the object.
class TemporaryDefaults
{
public:
    TemporaryDefaults();
    ~TemporaryDefaults();
    TemporaryDefaults(const TemporaryDefaults&) = delete;
    TemporaryDefaults& operator=(const TemporaryDefaults&) = delete;

    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    QString filePath() const;

private:
    QTemporaryDir m_dir;
};
