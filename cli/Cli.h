#pragma once

#include <QStringList>
#include <QTextStream>

// tarvido-cli [--root DIR] COMMAND …; `args` excludes the program name. `defaultRoot` is the
// folder of the executable.
int runCli(const QStringList &args, const QString &defaultRoot, QTextStream &out, QTextStream &err);
