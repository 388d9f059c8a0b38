#include "communications/TransmissionFormat.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

namespace {

TEST(TransmissionFormat, AlphaFieldCutsAndPads)
{
    struct Case
    {
        QString text;
        int width;
        QString expected;
    } cases[] = {
        {"ABC", 5, "ABC  "},
        {"", 3, "   "},
        {QString(), 2, "  "},
        {"ABCDEF", 3, "ABC"},
        {" A B", 5, " A B "}, // leading and inner spaces stay
        {"CITTÀ", 6, "CITTÀ "}, // widths count characters
        {"abc", 3, "abc"},     // no change of case
    };
    for (const Case &c : cases)
        EXPECT_EQ(AlphaField(c.text, c.width), c.expected) << c.text.toStdString();
}

TEST(TransmissionFormat, DigitsFieldLooksAtTheFirstWidthCharacters)
{
    struct Case
    {
        QString text;
        int width;
        QString expected;
    } cases[] = {
        {"123", 16, "0000000000000123"},
        {"", 16, "0000000000000000"},
        {"12A", 16, "0000000000000000"},
        {" 12", 5, "00000"},
        {"-1", 3, "000"},
        {"+1", 3, "000"},
        {"12345678", 4, "1234"},  // only the first four are looked at
        {"1234X", 4, "1234"},     // a non-digit beyond the width does not matter
        {"0000000000000000", 16, "0000000000000000"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DigitsField(c.text, c.width), c.expected) << c.text.toStdString();
}

TEST(TransmissionFormat, NumberFieldPadsButNeverCuts)
{
    EXPECT_EQ(NumberField(185, 5), "00185");
    EXPECT_EQ(NumberField(999, 4), "0999");
    EXPECT_EQ(NumberField(2008, 4), "2008");
    EXPECT_EQ(NumberField(0, 6), "000000");
    EXPECT_EQ(NumberField(1000, 3), "1000");
    EXPECT_EQ(NumberField(2147483647, 1), "2147483647");
}

TEST(TransmissionFormat, DateFieldWritesOnlyDatesAfterTheZeroDate)
{
    EXPECT_EQ(DateField(QDate(1971, 3, 5)), "05031971");
    EXPECT_EQ(DateField(QDate(1899, 12, 31)), "31121899");
    EXPECT_EQ(DateField(QDate(1899, 12, 30)), "        ");
    EXPECT_EQ(DateField(QDate(1850, 1, 1)), "        ");
    EXPECT_EQ(DateField(QDate()), "        ");
}

TEST(TransmissionFormat, CapMustBeAWholeNumberWithoutSign)
{
    EXPECT_EQ(CapNumber("00185"), 185);
    EXPECT_EQ(CapNumber("35031"), 35031);
    for (const char *bad : {"", "+0185", "-185", " 185", "185 ", "18 5", "ABCDE", "99999999999"})
        EXPECT_THROW(CapNumber(bad), TransmissionFormatError) << bad;
}

TDatiEnte longestEnte()
{
    TDatiEnte e;
    e.CodiceFiscale = "00123456789";
    e.Denominazione = QString(50, 'D');
    e.Citta = QString(34, 'C') + "Z" + QString(5, 'X'); // 40: cut after the 35th
    e.Provincia = "RM";
    e.Indirizzo = QString(34, 'I') + "Y" + QString(5, 'X');
    e.Cap = "00185";
    return e;
}

TEST(TransmissionFormat, HeaderAndTrailerColumns)
{
    const TDatiEnte e = longestEnte();
    const TransmissionHeader h{999, 7, 3, QDate(2008, 2, 29)};
    const QString header = HeaderTrailerRecord('0', e, h);
    ASSERT_EQ(header.size(), 200);
    auto col = [](const QString &r, int start, int end) { return r.mid(start - 1, end - start + 1); };
    EXPECT_EQ(col(header, 1, 1), "0");
    EXPECT_EQ(col(header, 2, 12), "00123456789");
    EXPECT_EQ(col(header, 13, 72), QString(50, 'D') + QString(10, ' '));
    EXPECT_EQ(col(header, 73, 107), QString(34, 'C') + "Z");
    EXPECT_EQ(col(header, 108, 109), "RM");
    EXPECT_EQ(col(header, 110, 144), QString(34, 'I') + "Y");
    EXPECT_EQ(col(header, 145, 164), "0018503" "0999" "CC2006" "007");
    EXPECT_EQ(col(header, 165, 173), "29022008O");
    EXPECT_EQ(col(header, 174, 200), QString(27, ' '));

    const QString trailer = HeaderTrailerRecord('9', e, h);
    ASSERT_EQ(trailer.size(), 200);
    EXPECT_EQ(trailer.left(1), "9");
    EXPECT_EQ(trailer.mid(1, 143), header.mid(1, 143));
    EXPECT_EQ(col(trailer, 145, 180), "00185" "03" "0000003" "0999" "CC2006" "007" "29022008" "O");
    EXPECT_EQ(col(trailer, 181, 200), QString(20, ' '));

    TDatiEnte badCap = e;
    badCap.Cap = "+0185";
    EXPECT_THROW(HeaderTrailerRecord('0', badCap, h), TransmissionFormatError);
}

TEST(TransmissionFormat, ApplicantBlockOfEachKind)
{
    TransmissionApplicant p;
    p.tipo = "P";
    p.cf = "RSSMRA71C05H501X";
    p.cognome = QString(26, 'C');
    p.nome = QString(25, 'N');
    p.sesso = "F";
    p.comune = TransmissionComune{"CASTELVECCHIO DI SANTA MARIA MAGGIORE", "IM"};
    QString problem;
    const QString person = ApplicantBlock(&p, &problem);
    ASSERT_EQ(person.size(), 113);
    EXPECT_EQ(person.left(16), "RSSMRA71C05H501X");
    EXPECT_EQ(person.mid(16, 51), QString(26, 'C') + QString(25, 'N'));
    EXPECT_EQ(person.mid(67, 1), "F");
    EXPECT_EQ(person.mid(68, 8), "        "); // no birth date
    EXPECT_EQ(person.mid(76), "CASTELVECCHIO DI SANTA MARIA MAGGIOIM");

    TransmissionApplicant a;
    a.tipo = "A";
    a.cf = "01234567890";
    a.denominazione = QString(50, 'S');
    // The seat is not among the municipalities: spaces, not some other row.
    const QString company = ApplicantBlock(&a, &problem);
    ASSERT_EQ(company.size(), 113);
    EXPECT_EQ(company.left(16), "01234567890     ");
    EXPECT_EQ(company.mid(16, 60), QString(50, 'S') + QString(10, ' '));
    EXPECT_EQ(company.mid(76), QString(37, ' '));

    EXPECT_TRUE(ApplicantBlock(nullptr, &problem).isEmpty());
    EXPECT_EQ(problem, "Richiedente non trovato in archivio");
    for (const char *tipo : {"p", "a", "", "X", "PA"}) {
        TransmissionApplicant other = p;
        other.tipo = tipo;
        problem.clear();
        EXPECT_TRUE(ApplicantBlock(&other, &problem).isEmpty()) << tipo;
        EXPECT_EQ(problem, "Tipo richiedente non riconosciuto") << tipo;
    }
}

TEST(TransmissionFormat, DetailRecordColumns)
{
    TransmissionApplicant a;
    a.tipo = "A";
    a.cf = "01234567890";
    a.denominazione = "ALFA";
    a.comune = TransmissionComune{"ROMA", "RM"};
    const TransmissionRequest r{"07", "123", QDate(2008, 1, 15), QDate()};
    QString problem;
    const QString d = DetailRecord(&a, r, 12, 41, &problem);
    ASSERT_EQ(d.size(), 200);
    EXPECT_EQ(d.left(1), "1");
    EXPECT_EQ(d.mid(114, 47), "07" "0000000000000123" "15012008" "        " "2006" "012" "000041");
    EXPECT_EQ(d.mid(161), QString(39, ' '));

    EXPECT_TRUE(DetailRecord(nullptr, r, 12, 0, &problem).isEmpty());
    EXPECT_EQ(problem, "Richiedente non trovato in archivio");
}

TEST(TransmissionFormat, ValuesWiderThanTheirFieldAreRefused)
{
    EXPECT_EQ(TransmissionLimitsProblem(2008, 999, 999999, "99999"), QString());
    EXPECT_EQ(TransmissionLimitsProblem(999, 1, 1, "00185"), QString());
    EXPECT_EQ(TransmissionLimitsProblem(2008, 1, 1, "+185"), QString()); // left to the header's own error

    EXPECT_EQ(TransmissionLimitsProblem(10000, 1, 1, "00185"),
              "Impossibile creare il file: l'anno della comunicazione (10000) non sta nelle 4 cifre del tracciato.");
    EXPECT_EQ(TransmissionLimitsProblem(2008, 1000, 1, "00185"),
              "Impossibile creare il file: il numero della comunicazione (1000) non sta nelle 3 cifre del tracciato.");
    EXPECT_EQ(TransmissionLimitsProblem(2008, 1, 1000000, "00185"),
              "Impossibile creare il file: la comunicazione contiene 1000000 richieste, il tracciato ne ammette al "
              "massimo 999999.");
    EXPECT_EQ(TransmissionLimitsProblem(2008, 1, 1, "123456"),
              "Impossibile creare il file: il CAP dell'ente (123456) non sta nelle 5 cifre del tracciato.");
    EXPECT_FALSE(TransmissionLimitsProblem(-1, 1, 1, "00185").isEmpty());
}

} // namespace
