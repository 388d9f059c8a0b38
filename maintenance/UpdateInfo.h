#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// The update server's info file (release.inf): an INI text with [Tarvido] Version and Message,
// then [File1], [File2], … each with URL (absolute or relative to the info file's folder) and
// SHA256. File1 is the setup program that the hand-over runs.
class UpdateInfo
{
public:
    struct File
    {
        QUrl url;
        QByteArray sha256; // 32 raw bytes
        QString fileName;  // last part of the URL's path
    };

    // nullopt when the text is not an info file: no [Tarvido] section, no version, a version that is
    // not a number, a line that is neither a section nor a key.
    static std::optional<UpdateInfo> parse(const QByteArray &bytes, const QUrl &infoFileUrl);

    QString version() const { return m_version; }
    QString message() const { return m_message; }
    const QList<File> &files() const { return m_files; }
    // At least one file, and every [FileN] with an http(s) URL, a well-formed SHA256 and a name of
    // its own: a server may publish only the version, but nothing is downloaded from a bad list.
    bool installable() const { return !m_files.isEmpty() && !m_filesError; }

    // Compares two version numbers part by part as integers ("8.9" < "8.14"; "8.14" == "8.14.0").
    // nullopt when either is not a version number.
    static std::optional<int> compareVersions(const QString &a, const QString &b);
    static bool isVersionNumber(const QString &v);

private:
    QString m_version;
    QString m_message;
    QList<File> m_files;
    bool m_filesError = false;
};
