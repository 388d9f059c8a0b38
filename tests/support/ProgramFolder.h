#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh program folder in a temporary directory: dati/ laid out as the build lays it out
// (empty working tables, filled reference tables), and nothing else.
class ProgramFolder
{
public:
    ProgramFolder();
    QString path() const; // with a trailing separator
    QString dataPath() const; // path() + "dati/"
    QString file(const QString &relative) const { return path() + relative; }
    // Copies a delivered file of resources/ (e.g. a report template) into the folder.
    void addDelivered(const QString &relativeToResources, const QString &as = QString()) const;

    static QString sourceDir();
    static QString resourcesDir();

private:
    QTemporaryDir m_dir;
};
