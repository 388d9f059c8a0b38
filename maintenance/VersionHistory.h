#pragma once

#include <QString>

// The text of the "Storico delle versioni" window: bold headings and line breaks.
namespace VersionHistory {
QString html();
} // namespace VersionHistory
