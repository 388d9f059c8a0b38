#include "applicants/CodiceFiscale.h"

namespace {

// a-z to A-Z only: accented letters and every other character stay as they are.
QString upperAscii(const QString &s)
{
    QString out = s;
    for (QChar &c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    }
    return out;
}

QString lettersOf(const QString &s)
{
    QString out;
    const QString head = s.left(31);
    for (QChar c : head) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            out += c;
    }
    return out;
}

bool isVowel(QChar c)
{
    return c == QLatin1Char('A') || c == QLatin1Char('E') || c == QLatin1Char('I') || c == QLatin1Char('O')
           || c == QLatin1Char('U');
}

void split(const QString &letters, QString &consonants, QString &vowels)
{
    for (QChar c : letters)
        (isVowel(c) ? vowels : consonants) += c;
}

// Consonants first, then vowels, then "X" for a part still short of three.
QString fill(const QString &consonants, const QString &vowels, int takeConsonants)
{
    QString part = consonants.left(takeConsonants) + vowels;
    part = part.left(3);
    while (part.size() < 3)
        part += QLatin1Char('X');
    return part;
}

QString surnamePart(const QString &letters)
{
    if (letters.size() == 2)
        return letters + QLatin1Char('X');
    QString cons, vow;
    split(letters, cons, vow);
    if (cons.size() >= 3)
        return cons.left(3);
    return fill(cons, vow, int(cons.size()));
}

QString namePart(const QString &letters)
{
    if (letters.size() == 2)
        return letters + QLatin1Char('X');
    QString cons, vow;
    split(letters, cons, vow);
    if (cons.size() >= 4)
        return QString(cons.at(0)) + cons.at(2) + cons.at(3);
    if (cons.size() == 3)
        return cons;
    return fill(cons, vow, int(cons.size()));
}

const int oddValues[26] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

int placeOf(QChar c)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        return c.unicode() - 'A';
    return 0;
}

} // namespace

QString ComputeCodiceFiscale(const QString &cognome, const QString &nome, const QString &sesso, const QString &dnascita,
                             const QString &belfiore)
{
    const QString surname = upperAscii(cognome);
    const QString name = upperAscii(nome);
    if (surname.size() < 2 || name.size() < 2 || sesso.isEmpty() || dnascita.isEmpty() || belfiore.isEmpty()
        || dnascita == QLatin1String("00/00/00"))
        return QString();

    static const char months[] = "ABCDEHLMPRST";
    const int month = dnascita.mid(3, 2).toInt();
    const bool male = (sesso == QLatin1String("M"));

    QString code;
    code.reserve(16);
    code += surnamePart(lettersOf(surname));
    code += namePart(lettersOf(name));
    code += dnascita.mid(6, 2);
    if (month >= 1 && month <= 12)
        code += QLatin1Char(months[month - 1]);
    code += male ? dnascita.left(2) : QString::number(dnascita.left(2).toInt() + 40);
    code += belfiore;
    code = code.left(15);

    int sum = 0;
    for (int i = 0; i < code.size(); ++i) {
        const int p = placeOf(code.at(i));
        sum += (i % 2 == 0) ? oddValues[p] : p; // position 1 is odd
    }
    code += QLatin1Char(char('A' + sum % 26));
    return code.left(16);
}
