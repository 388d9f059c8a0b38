#pragma once

#include <QString>

// The user guide delivered beside the program (HTML, folder "guida").
namespace UserGuide {
QString folder(const QString &appPath);    // AppPath + "guida/"
QString indexFile(const QString &appPath); // its first page
} // namespace UserGuide
