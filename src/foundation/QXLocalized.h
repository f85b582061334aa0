#pragma once

#include <QCoreApplication>

// The program's own string table for code outside QObject classes: every
// text is keyed by its English wording in the one context "Trovix" (the
// platform layer looks its few texts up there too). Written as
// QXLocalized::tr("Quit") so that lupdate finds the text and files it under
// that context, which a free wrapper function would hide from it.
class QXLocalized
{
    Q_DECLARE_TR_FUNCTIONS(Trovix)

public:
    QXLocalized() = delete;
};
