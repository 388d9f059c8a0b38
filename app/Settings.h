#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// An INI text in Windows-1252 whose unknown sections, keys and comments survive a rewrite.
class IniDocument
{
public:
    static IniDocument fromBytes(const QByteArray &bytes);
    QByteArray toBytes() const;

    // Section and key are matched without regard to case; a missing key reads as `fallback`.
    QString value(const QString &section, const QString &key, const QString &fallback = QString()) const;
    bool contains(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);

private:
    int findSection(const QString &section) const;
    int findKey(int sectionLine, const QString &key) const;
    QStringList m_lines;
};

// The settings file TARVIDO.INI: the public body's data (section ENTE) and the two start-up values
// (section ESEG). It lives in the program folder; when that folder cannot be written it goes to the
// user's configuration folder and is read from there afterwards.
namespace Settings {
QString fileName(); // "TARVIDO.INI"
QString programFile(const QString &appPath);
QString fallbackFile();
// The file the next load reads.
QString fileToRead(const QString &appPath);

// Fills DatiEnte, PrimaEsecuzione and ProvaUpdate; a missing or unreadable file gives the defaults.
void load(const QString &appPath);
// Writes them, keeping everything else of the file. Written whole to a temporary file and renamed.
// Returns the path written; raises a DataError naming the file when it cannot be written anywhere.
QString save(const QString &appPath);

// The base address of the update server (section AGGIORNAMENTI, key SERVER), empty when not set.
QString updateServer(const QString &appPath);
// The support mailbox (section ASSISTENZA, key EMAIL), with a default.
QString supportAddress(const QString &appPath);
} // namespace Settings
