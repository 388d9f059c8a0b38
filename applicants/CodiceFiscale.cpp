#include "applicants/CodiceFiscale.h"

namespace {

// Works on fixed buffers: the routine runs once per person of the register in the consistency check.

struct Letters
{
    char16_t c[31];
    int n = 0;
};

// The letters A-Z among the first 31 characters, a-z read as A-Z; everything else (accented letters
// included) is dropped.
Letters lettersOf(const QString &s)
{
    Letters out;
    const int n = int(std::min<qsizetype>(s.size(), 31));
    const QChar *p = s.constData();
    for (int i = 0; i < n; ++i) {
        char16_t u = p[i].unicode();
        if (u >= u'a' && u <= u'z')
            u = char16_t(u - 32);
        if (u >= u'A' && u <= u'Z')
            out.c[out.n++] = u;
    }
    return out;
}

bool isVowel(char16_t c)
{
    return c == u'A' || c == u'E' || c == u'I' || c == u'O' || c == u'U';
}

// Three characters of the surname part (name: the first, third and fourth of four or more consonants).
void part(const Letters &l, bool name, char16_t *out)
{
    if (l.n == 2) {
        out[0] = l.c[0];
        out[1] = l.c[1];
        out[2] = u'X';
        return;
    }
    char16_t cons[31], vow[31];
    int nc = 0, nv = 0;
    for (int i = 0; i < l.n; ++i)
        (isVowel(l.c[i]) ? vow[nv++] : cons[nc++]) = l.c[i];
    if (name && nc >= 4) {
        out[0] = cons[0];
        out[1] = cons[2];
        out[2] = cons[3];
        return;
    }
    // Consonants first, then vowels, then "X" for a part still short of three.
    int k = 0;
    for (int i = 0; i < nc && k < 3; ++i)
        out[k++] = cons[i];
    for (int i = 0; i < nv && k < 3; ++i)
        out[k++] = vow[i];
    while (k < 3)
        out[k++] = u'X';
}

const int oddValues[26] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

int placeOf(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    return 0;
}

// The code under construction keeps at most 16 characters.
struct Code
{
    char16_t c[16];
    int n = 0;
    void add(char16_t ch)
    {
        if (n < 16)
            c[n++] = ch;
    }
    void add(const QString &s)
    {
        for (QChar ch : s)
            add(ch.unicode());
    }
};

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString ComputeCodiceFiscale(const QString &cognome, const QString &nome, const QString &sesso, const QString &dnascita,
                             const QString &belfiore)
{
    // Upper-casing a-z keeps the length: the test counts every character of the texts as given.
    if (cognome.size() < 2 || nome.size() < 2 || sesso.isEmpty() || dnascita.isEmpty() || belfiore.isEmpty()
        || dnascita == QLatin1String("00/00/00"))
        return QString();

    static const char16_t months[] = u"ABCDEHLMPRST";
    const bool male = (sesso == QLatin1String("M"));

    Code code;
    char16_t p[3];
    part(lettersOf(cognome), false, p);
    code.add(p[0]), code.add(p[1]), code.add(p[2]);
    part(lettersOf(nome), true, p);
    code.add(p[0]), code.add(p[1]), code.add(p[2]);

    const qsizetype len = dnascita.size();
    for (qsizetype i = 6; i < 8 && i < len; ++i)
        code.add(dnascita.at(i).unicode());
    const int month = (len >= 5 && isDigit(dnascita.at(3)) && isDigit(dnascita.at(4)))
                          ? (dnascita.at(3).unicode() - '0') * 10 + (dnascita.at(4).unicode() - '0')
                          : dnascita.mid(3, 2).toInt();
    if (month >= 1 && month <= 12)
        code.add(months[month - 1]);
    if (male) {
        for (qsizetype i = 0; i < 2 && i < len; ++i)
            code.add(dnascita.at(i).unicode());
    } else {
        const int day = (len >= 2 && isDigit(dnascita.at(0)) && isDigit(dnascita.at(1)))
                            ? (dnascita.at(0).unicode() - '0') * 10 + (dnascita.at(1).unicode() - '0')
                            : dnascita.left(2).toInt();
        code.add(QString::number(day + 40));
    }
    code.add(belfiore);

    // The check character follows the first 15 characters (the consistency check reads codes the same way).
    if (code.n > 15)
        code.n = 15;
    const int checked = code.n;
    int sum = 0;
    for (int i = 0; i < checked; ++i) {
        const int v = placeOf(code.c[i]);
        sum += (i % 2 == 0) ? oddValues[v] : v; // position 1 is odd
    }
    code.add(char16_t(u'A' + sum % 26));
    return QString(reinterpret_cast<const QChar *>(code.c), code.n);
}
