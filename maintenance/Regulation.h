#pragma once

#include <QString>

// The provision of the Agenzia delle Entrate of 2 October 2006, on which the transmission file
// rests. The office puts the PDF beside the program; it is not delivered with it.
namespace Regulation {
QString fileName(); // "Provvedimento_2_ottobre_2006.pdf"
// Opens AppPath + fileName() with the system's viewer; when the file is missing or nothing can
// show it, says so (naming the file and the folder) and returns false.
bool open(const QString &appPath);
} // namespace Regulation
