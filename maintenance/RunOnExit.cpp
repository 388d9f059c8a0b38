#include "maintenance/RunOnExit.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

QString program;
QStringList arguments;
bool routineAdded = false;

void runAtShutdown()
{
    RunOnExit::runPending();
    routineAdded = false;
}

} // namespace

namespace RunOnExit {

void request(const QString &prog, const QStringList &args)
{
    program = prog;
    arguments = args;
    if (!routineAdded && QCoreApplication::instance()) {
        qAddPostRoutine(runAtShutdown);
        routineAdded = true;
    }
}

QString pending()
{
    return program;
}

void cancel()
{
    program.clear();
    arguments.clear();
}

bool runPending()
{
    if (program.isEmpty())
        return false;
    const QString prog = program;
    const QStringList args = arguments;
    cancel();
    const QFileInfo info(prog);
    // A downloaded file carries no execute permission where the file system keeps one.
    if (!info.isExecutable())
        QFile::setPermissions(prog, QFile::permissions(prog) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return QProcess::startDetached(info.absoluteFilePath(), args, info.absolutePath());
}

} // namespace RunOnExit
