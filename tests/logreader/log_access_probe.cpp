// Answers, through its exit status, whether the log reader would offer the
// log to the user running it: 0 yes, 1 no. Tests run it as another user.
#include "logreader/ILRIntegratedLogReader.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    // Any executable stands for the tool: only the journal is in question.
    ILRIntegratedLogReader::setLogToolPath(QStringLiteral("/bin/true"));
    return ILRIntegratedLogReader::canDisplayLog() ? 0 : 1;
}
