#include "app/Settings.h"

#include "data/DataError.h"
#include "data/Globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char *const Cp1252 = "windows-1252";

QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return QString();
}

bool isSection(const QString &line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
}

struct Entry
{
    QString key;
    QString TDatiEnte::*field;
};

const Entry entries[] = {{"DENOMINAZIONE", &TDatiEnte::Denominazione}, {"INDIRIZZO", &TDatiEnte::Indirizzo},
                         {"CAP", &TDatiEnte::Cap},                     {"CITTA", &TDatiEnte::Citta},
                         {"PROVINCIA", &TDatiEnte::Provincia},         {"CODICEFISCALE", &TDatiEnte::CodiceFiscale},
                         {"TEL", &TDatiEnte::Tel},                     {"FAX", &TDatiEnte::Fax},
                         {"EMAIL", &TDatiEnte::Email},                 {"RESPONSABILE", &TDatiEnte::Responsabile},
                         {"BELFIORE", &TDatiEnte::Belfiore}};

int readInt(const IniDocument &ini, const QString &section, const QString &key, int fallback)
{
    bool ok = false;
    const int v = ini.value(section, key).trimmed().toInt(&ok);
    return ok ? v : fallback;
}

IniDocument readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return IniDocument::fromBytes(QByteArray());
    return IniDocument::fromBytes(f.readAll());
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool folderWritable(const QString &folder)
{
    QFile probe(QDir(folder).filePath(QStringLiteral(".tarvido-prova-scrittura")));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray &bytes)
{
    IniDocument d;
    QStringDecoder decode(Cp1252);
    QString text = decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    d.m_lines = text.split(QLatin1Char('\n'));
    if (!d.m_lines.isEmpty() && d.m_lines.last().isEmpty())
        d.m_lines.removeLast();
    return d;
}

QByteArray IniDocument::toBytes() const
{
    QStringEncoder encode(Cp1252);
    QByteArray out;
    for (const QString &line : m_lines) {
        out += encode(line);
        out += "\r\n";
    }
    return out;
}

int IniDocument::findSection(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (isSection(m_lines.at(i)) && sectionName(m_lines.at(i)).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int IniDocument::findKey(int sectionLine, const QString &key) const
{
    for (int i = sectionLine + 1; i < m_lines.size() && !isSection(m_lines.at(i)); ++i) {
        const QString &line = m_lines.at(i);
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniDocument::contains(const QString &section, const QString &key) const
{
    const int s = findSection(section);
    return s >= 0 && findKey(s, key) >= 0;
}

QString IniDocument::value(const QString &section, const QString &key, const QString &fallback) const
{
    const int s = findSection(section);
    if (s < 0)
        return fallback;
    const int k = findKey(s, key);
    if (k < 0)
        return fallback;
    const QString &line = m_lines.at(k);
    return line.mid(line.indexOf(QLatin1Char('=')) + 1);
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    int s = findSection(section);
    if (s < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines << QString();
        m_lines << QStringLiteral("[%1]").arg(section);
        m_lines << key + QLatin1Char('=') + value;
        return;
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        m_lines[k] = m_lines.at(k).left(m_lines.at(k).indexOf(QLatin1Char('='))) + QLatin1Char('=') + value;
        return;
    }
    // After the section's last key, before any blank lines that separate it from the next one.
    int insertAt = s + 1;
    for (int i = s + 1; i < m_lines.size() && !isSection(m_lines.at(i)); ++i) {
        if (!m_lines.at(i).trimmed().isEmpty())
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, key + QLatin1Char('=') + value);
}

namespace Settings {

QString fileName()
{
    return QStringLiteral("TARVIDO.INI");
}

QString programFile(const QString &appPath)
{
    return QDir(appPath).filePath(fileName());
}

QString fallbackFile()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath();
    return QDir(base).filePath(QStringLiteral("Tarvido/") + fileName());
}

QString fileToRead(const QString &appPath)
{
    const QString primary = programFile(appPath);
    const QString fallback = fallbackFile();
    if (!QFileInfo::exists(fallback))
        return primary;
    if (!folderWritable(appPath))
        return fallback;
    // Both may exist when the folder was read-only once: the newer holds the last normal end.
    if (!QFileInfo::exists(primary) || QFileInfo(fallback).lastModified() > QFileInfo(primary).lastModified())
        return fallback;
    return primary;
}

void load(const QString &appPath)
{
    const IniDocument ini = readFile(fileToRead(appPath));
    for (const Entry &e : entries)
        DatiEnte.*(e.field) = ini.value(QStringLiteral("ENTE"), e.key);
    PrimaEsecuzione = readInt(ini, QStringLiteral("ESEG"), QStringLiteral("PRIMAESECUZIONE"), 1) != 0;
    ProvaUpdate = readInt(ini, QStringLiteral("ESEG"), QStringLiteral("PROVAUPDATE"), 0);
}

QString save(const QString &appPath)
{
    const QString source = fileToRead(appPath);
    IniDocument ini = readFile(source);
    for (const Entry &e : entries)
        ini.setValue(QStringLiteral("ENTE"), e.key, DatiEnte.*(e.field));
    ini.setValue(QStringLiteral("ESEG"), QStringLiteral("PRIMAESECUZIONE"), QStringLiteral("0"));
    ini.setValue(QStringLiteral("ESEG"), QStringLiteral("PROVAUPDATE"), QString::number(ProvaUpdate));
    const QByteArray bytes = ini.toBytes();

    const QString primary = programFile(appPath);
    if (source == primary && writeFile(primary, bytes))
        return primary;
    const QString fallback = fallbackFile();
    if (writeFile(fallback, bytes))
        return fallback;
    if (source != primary && writeFile(primary, bytes))
        return primary;
    throw DataError(QStringLiteral("Impossibile salvare le impostazioni nel file %1 né nel file %2.")
                        .arg(QDir::toNativeSeparators(primary), QDir::toNativeSeparators(fallback)));
}

QString updateServer(const QString &appPath)
{
    return readFile(fileToRead(appPath)).value(QStringLiteral("AGGIORNAMENTI"), QStringLiteral("SERVER")).trimmed();
}

QString supportAddress(const QString &appPath)
{
    const QString v = readFile(fileToRead(appPath)).value(QStringLiteral("ASSISTENZA"), QStringLiteral("EMAIL")).trimmed();
    return v.isEmpty() ? QStringLiteral("assistenza@quorvel.it") : v;
}

} // namespace Settings
