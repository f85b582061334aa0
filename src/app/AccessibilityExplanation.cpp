#include "app/AccessibilityExplanation.h"

#include "foundation/QXLocalized.h"

#include <QStringList>

QString
accessibilityUnavailableExplanation(const platform::AccessibilityUnavailability& unavailability)
{
    using Reason = platform::AccessibilityUnavailability::Reason;
    QString problem;
    switch (unavailability.reason) {
    case Reason::Missing:
        problem = QXLocalized::tr("%1 is missing.").arg(unavailability.component);
        break;
    case Reason::Refused:
        problem = QXLocalized::tr("%1 refuses to let Trovix in.").arg(unavailability.component);
        break;
    case Reason::Unknown:
        problem = QXLocalized::tr("Accessibility is turned off.");
        break;
    }
    if (!problem.isEmpty()) {
        problem[0] = problem.at(0).toUpper();
    }
    return QStringList{problem, unavailability.remedy}.join(QLatin1Char(' ')).trimmed();
}
