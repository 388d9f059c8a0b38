#include "applicants/ConsistencyCheck.h"

#include "applicants/CodiceFiscale.h"
#include "data/Database.h"
#include "data/Report.h"
#include "data/Tdm.h"
#include "data/Ui.h"

#include <cstring>

namespace {

// Rows between two looks at the window events: often enough to repaint, rarely enough to cost nothing.
constexpr int EventsEvery = 4096;

bool isAscii(QByteArrayView t)
{
    for (char c : t) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int number(QByteArrayView d, int from, int count)
{
    int v = 0;
    for (int i = from; i < from + count; ++i)
        v = v * 10 + (d[i] - '0');
    return v;
}

// A real calendar date written "YYYY-MM-DD".
bool isIsoDate(QByteArrayView d)
{
    if (d.size() != 10 || d[4] != '-' || d[7] != '-')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!isDigit(d[i]))
            return false;
    }
    return QDate::isValid(number(d, 0, 4), number(d, 5, 2), number(d, 8, 2));
}

// "dd/mm/yy" of a stored date; a missing or unreadable one is the zero date, 30/12/99.
QString shortDate(QByteArrayView iso)
{
    QDate d = QDate::fromString(QString::fromUtf8(iso), Qt::ISODate);
    if (!d.isValid())
        d = zeroDate();
    return d.toString(QStringLiteral("dd/MM/yy"));
}

// The same computation as ComputeCodiceFiscale, over ASCII bytes and into a fixed buffer: the check of a
// large register must not allocate per person. StoredCfMatches falls back to ComputeCodiceFiscale for
// anything this does not cover, and a test holds the two to the same results.
class AsciiCodeBuilder
{
public:
    // dd, mm, yy: the two digits of each; false when the data give no code (empty result).
    bool build(QByteArrayView cognome, QByteArrayView nome, QByteArrayView sesso, const char *dd, const char *mm,
               const char *yy, QByteArrayView belfiore)
    {
        if (cognome.size() < 2 || nome.size() < 2 || sesso.isEmpty() || belfiore.isEmpty())
            return false;
        m_len = 0;
        surnamePart(cognome);
        namePart(nome);
        add(yy[0]);
        add(yy[1]);
        const int month = (mm[0] - '0') * 10 + (mm[1] - '0');
        if (month >= 1 && month <= 12)
            add("ABCDEHLMPRST"[month - 1]);
        if (sesso.size() == 1 && sesso[0] == 'M') {
            add(dd[0]);
            add(dd[1]);
        } else {
            const int day = (dd[0] - '0') * 10 + (dd[1] - '0') + 40;
            add(char('0' + day / 10));
            add(char('0' + day % 10));
        }
        for (char c : belfiore)
            add(c);
        if (m_len > 15)
            m_len = 15;
        static const int oddValues[26] = {1,  0,  5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,
                                          20, 11, 3,  6,  8,  12, 14, 16, 10, 22, 25, 24, 23};
        int sum = 0;
        for (int i = 0; i < m_len; ++i) {
            const char c = m_code[i];
            const int p = isDigit(c) ? c - '0' : (c >= 'A' && c <= 'Z') ? c - 'A' : 0;
            sum += (i % 2 == 0) ? oddValues[p] : p;
        }
        m_code[m_len++] = char('A' + sum % 26);
        return true;
    }
    QByteArrayView code() const { return QByteArrayView(m_code, m_len); }

private:
    void add(char c)
    {
        if (m_len < int(sizeof(m_code)) - 1)
            m_code[m_len++] = c;
    }
    static bool isVowel(char c) { return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U'; }
    // Upper-cased A-Z letters among the first 31 characters.
    static int letters(QByteArrayView t, char *out)
    {
        int n = 0;
        const qsizetype end = std::min<qsizetype>(t.size(), 31);
        for (qsizetype i = 0; i < end; ++i) {
            char c = t[i];
            if (c >= 'a' && c <= 'z')
                c = char(c - 32);
            if (c >= 'A' && c <= 'Z')
                out[n++] = c;
        }
        return n;
    }
    // Consonants first (at most `take`), then vowels, then "X", three in all.
    void fill(const char *cons, int nCons, const char *vow, int nVow, int take)
    {
        int written = 0;
        for (int i = 0; i < take && i < nCons && written < 3; ++i, ++written)
            add(cons[i]);
        for (int i = 0; i < nVow && written < 3; ++i, ++written)
            add(vow[i]);
        for (; written < 3; ++written)
            add('X');
    }
    struct Split
    {
        char cons[32];
        char vow[32];
        int nCons = 0;
        int nVow = 0;
    };
    static Split split(const char *l, int n)
    {
        Split s;
        for (int i = 0; i < n; ++i) {
            if (isVowel(l[i]))
                s.vow[s.nVow++] = l[i];
            else
                s.cons[s.nCons++] = l[i];
        }
        return s;
    }
    void surnamePart(QByteArrayView t)
    {
        char l[32];
        const int n = letters(t, l);
        if (n == 2) {
            add(l[0]);
            add(l[1]);
            add('X');
            return;
        }
        const Split s = split(l, n);
        if (s.nCons >= 3) {
            add(s.cons[0]);
            add(s.cons[1]);
            add(s.cons[2]);
            return;
        }
        fill(s.cons, s.nCons, s.vow, s.nVow, s.nCons);
    }
    void namePart(QByteArrayView t)
    {
        char l[32];
        const int n = letters(t, l);
        if (n == 2) {
            add(l[0]);
            add(l[1]);
            add('X');
            return;
        }
        const Split s = split(l, n);
        if (s.nCons >= 4) {
            add(s.cons[0]);
            add(s.cons[2]);
            add(s.cons[3]);
            return;
        }
        if (s.nCons == 3) {
            add(s.cons[0]);
            add(s.cons[1]);
            add(s.cons[2]);
            return;
        }
        fill(s.cons, s.nCons, s.vow, s.nVow, s.nCons);
    }

    char m_code[64];
    int m_len = 0;
};

QString text(QByteArrayView utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

bool StoredCfMatches(QByteArrayView cognome, QByteArrayView nome, QByteArrayView sesso, QByteArrayView dnascita,
                     QByteArrayView belfiore, QByteArrayView stored)
{
    const bool fast = isAscii(cognome) && isAscii(nome) && isAscii(sesso) && isAscii(belfiore)
                      && (dnascita.isEmpty() || isIsoDate(dnascita));
    if (fast) {
        const char *d = dnascita.isEmpty() ? "1899-12-30" : dnascita.data();
        AsciiCodeBuilder b;
        if (!b.build(cognome, nome, sesso, d + 8, d + 5, d + 2, belfiore))
            return stored.isEmpty();
        return b.code() == stored;
    }
    const QString computed = ComputeCodiceFiscale(text(cognome), text(nome), text(sesso), shortDate(dnascita), text(belfiore));
    return computed.toUtf8() == stored;
}

QList<CfProblem> &mtProblemi()
{
    static QList<CfProblem> list;
    return list;
}

int FindCfProblems(Connection &connection)
{
    QList<CfProblem> &list = mtProblemi();
    list.clear();
    Statement q(connection, QString::fromLatin1(CfCheckSql));
    int row = 0;
    while (q.step()) {
        const QByteArrayView dnascita = q.utf8(3);
        if (!StoredCfMatches(q.utf8(0), q.utf8(1), q.utf8(2), dnascita, q.utf8(5), q.utf8(4))) {
            list.append({text(q.utf8(0)), text(q.utf8(1)), text(q.utf8(4)), text(q.utf8(2)),
                         QDate::fromString(text(dnascita), Qt::ISODate)});
        }
        if (++row % EventsEvery == 0)
            ui().processEvents();
    }
    return int(list.size());
}

ReportData ProblemiReportData()
{
    ReportData data({QStringLiteral("cognome"), QStringLiteral("nome"), QStringLiteral("cf"), QStringLiteral("sesso"),
                     QStringLiteral("dnascita")});
    const QList<CfProblem> &list = mtProblemi();
    data.reserve(int(list.size()));
    for (const CfProblem &p : list)
        data.addRow({p.cognome, p.nome, p.cf, p.sesso, p.dnascita.isValid() ? QVariant(p.dnascita) : QVariant()});
    return data;
}

bool CheckCodiciFiscali()
{
    {
        BusyCursor busy;
        mtProblemi().clear();
        FindCfProblems(dm->Database1.connection());
    }
    if (mtProblemi().isEmpty())
        return false;
    Tdm::ShowMsg(QStringLiteral("Da controlli effettuati sui dati inseriti, sono stati rilevati alcuni problemi sui "
                                "Codici Fiscali. Adesso sarà mostrato un elenco dei soggetti per i quali è stato "
                                "rilevato il problema."));
    Report report(QStringLiteral("problemi"));
    report.setData(ProblemiReportData());
    ShowReport(report, dm->AppPath);
    return true;
}
