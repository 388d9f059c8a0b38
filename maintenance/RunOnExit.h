#pragma once

#include <QString>
#include <QStringList>

// A program to start once this one has closed: the hand-over of an update to its setup program.
// The request runs when the application object is destroyed (after the data module has closed the
// database and written the settings), or earlier through runPending() at the end of main.
namespace RunOnExit {
void request(const QString &program, const QStringList &arguments = {});
// The program requested, empty when none.
QString pending();
void cancel();
// Starts the requested program detached and clears the request; false when none or it failed.
bool runPending();
} // namespace RunOnExit
