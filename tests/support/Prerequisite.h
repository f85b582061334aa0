#pragma once

#include <QtGlobal>
#include <QtTest>

// A test whose prerequisite (data files, a tool) is missing skips on a
// developer's machine, where a package may simply not be installed yet, but
// fails in CI, where the setup script installs everything and a skip would
// report a pass for a test that never ran.
#define TROVIX_REQUIRE(condition, message)                                                         \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            if (qEnvironmentVariable("CI") == QLatin1String("true")) {                             \
                QFAIL(message);                                                                    \
            }                                                                                      \
            QSKIP(message);                                                                        \
        }                                                                                          \
    } while (false)
