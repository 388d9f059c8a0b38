#include "maintenance/UpdateInfo.h"

#include <algorithm>

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

namespace {

QList<qulonglong> versionParts(const QString &v, bool *ok)
{
    QList<qulonglong> parts;
    const QString t = v.trimmed();
    *ok = !t.isEmpty();
    if (!*ok)
        return parts;
    for (const QString &p : t.split(QLatin1Char('.'))) {
        bool partOk = false;
        // Digits only: "8.-1", "8.1a" or " 8" inside are not versions.
        if (p.isEmpty() || p.size() > 9 || !std::all_of(p.begin(), p.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
            *ok = false;
            return {};
        }
        parts << p.toULongLong(&partOk);
    }
    return parts;
}

// The maker may save the file as UTF-8 or in the Windows code page.
QString decode(const QByteArray &bytes)
{
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF"))
        b.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(b);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    return cp1252.decode(b);
}

} // namespace

std::optional<int> UpdateInfo::compareVersions(const QString &a, const QString &b)
{
    bool okA = false, okB = false;
    const QList<qulonglong> pa = versionParts(a, &okA);
    const QList<qulonglong> pb = versionParts(b, &okB);
    if (!okA || !okB)
        return std::nullopt;
    for (qsizetype i = 0; i < std::max(pa.size(), pb.size()); ++i) {
        const qulonglong x = i < pa.size() ? pa.at(i) : 0;
        const qulonglong y = i < pb.size() ? pb.at(i) : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

bool UpdateInfo::isVersionNumber(const QString &v)
{
    bool ok = false;
    versionParts(v, &ok);
    return ok;
}

std::optional<UpdateInfo> UpdateInfo::parse(const QByteArray &bytes, const QUrl &infoFileUrl)
{
    // section (lower case) -> key (lower case) -> value
    QHash<QString, QHash<QString, QString>> ini;
    QString section;
    const QStringList lines = decode(bytes).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return std::nullopt;
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || section.isEmpty())
            return std::nullopt;
        ini[section][line.left(eq).trimmed().toLower()] = line.mid(eq + 1).trimmed();
    }

    const auto product = ini.constFind(QStringLiteral("tarvido"));
    if (product == ini.cend())
        return std::nullopt;
    UpdateInfo info;
    info.m_version = product->value(QStringLiteral("version"));
    if (!isVersionNumber(info.m_version))
        return std::nullopt;
    info.m_version = info.m_version.trimmed();
    // An INI value is one line: "\n" in the text breaks the message.
    info.m_message = product->value(QStringLiteral("message")).replace(QStringLiteral("\\n"), QStringLiteral("\r"));

    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    QStringList names;
    for (int n = 1;; ++n) {
        const auto it = ini.constFind(QStringLiteral("file%1").arg(n));
        if (it == ini.cend())
            break;
        const QString urlText = it->value(QStringLiteral("url"));
        const QString sha = it->value(QStringLiteral("sha256"));
        const QUrl url = infoFileUrl.resolved(QUrl(urlText));
        const QString scheme = url.scheme().toLower();
        if (urlText.isEmpty() || !hex.match(sha).hasMatch() || !url.isValid()
            || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
            info.m_filesError = true;
            continue;
        }
        File f;
        f.url = url;
        f.sha256 = QByteArray::fromHex(sha.toLatin1());
        f.fileName = url.fileName();
        // The name becomes a file in the download folder: no path parts, no duplicates.
        if (f.fileName.isEmpty() || f.fileName == QLatin1String(".") || f.fileName == QLatin1String("..")
            || f.fileName.contains(QLatin1Char('\\')) || names.contains(f.fileName, Qt::CaseInsensitive)) {
            info.m_filesError = true;
            continue;
        }
        names << f.fileName;
        info.m_files << f;
    }
    return info;
}
