#include "applicants/CodiceFiscale.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

TEST(CodiceFiscale, ComputesTheExamplesAndTheDepartures)
{
    struct Case
    {
        const char *cognome, *nome, *sesso, *data, *belfiore, *expected;
    } cases[] = {
        {"ESEMPIO", "PROVA", "M", "05/03/71", "H501", "SMPPRV71C05H501X"},
        {"ESEMPIO", "PROVA", "F", "05/03/71", "H501", "SMPPRV71C45H501B"},
        {"ESEMPIO", "GIANFRANCO", "M", "05/03/71", "H501", "SMPGFR71C05H501P"},
        {"AL", "PROVA", "M", "05/03/71", "H501", "ALXPRV71C05H501H"},
        {"ESEMPIO", "LI", "M", "05/03/71", "H501", "SMPLIX71C05H501G"},
        {"ESEMPIO", "NOÈ", "M", "05/03/71", "H501", "SMPNOX71C05H501A"},
        {"D'ESEMPIO", "PROVA", "M", "05/03/71", "H501", "DSMPRV71C05H501N"},
        // lower-case m is not "M": computed as female
        {"ESEMPIO", "PROVA", "m", "05/03/71", "H501", "SMPPRV71C45H501B"},
        // lower-case letters are upper-cased first
        {"esempio", "prova", "M", "05/03/71", "H501", "SMPPRV71C05H501X"},
        // standard cases: few consonants, name with three consonants, vowels fill in
        {"ROSSI", "MARIA", "F", "12/12/80", "F205", "RSSMRA80T52F205U"},
        {"FO", "ANNA", "F", "01/01/90", "H501", "FOXNNA90A41H501B"},
        {"BIANCHI", "LUCA", "M", "31/07/65", "L219", "BNCLCU65L31L219P"},
        // fewer than two letters in a name of two or more characters: the part is filled with X
        {"ESEMPIO", "J.", "M", "05/03/71", "H501", "SMPJXX71C05H501K"},
        {"O'", "PROVA", "M", "05/03/71", "H501", "OXXPRV71C05H501D"},
        // three consonants of a name; one consonant then vowels; J, K, W, X, Y count as consonants
        {"BIANCHI", "CARLO", "M", "01/02/03", "A001", "BNCCRL03B01A001S"},
        {"AIELLO", "ELIO", "M", "15/06/49", "L736", "LLALEI49H15L736J"},
        {"WYKX", "YURI", "F", "31/10/99", "Z404", "WYKYRU99R71Z404G"},
        // blanks, hyphens and accented letters are dropped before the parts are taken
        {"DE LA CRUZ", "JOSÉ MARIA", "M", "09/09/09", "Z131", "DLCJMR09P09Z131Z"},
        {"ROSSI-BIANCHI", "ANNA MARIA", "F", "28/02/00", "F205", "RSSNMR00B68F205F"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ComputeCodiceFiscale(QString::fromUtf8(c.cognome), QString::fromUtf8(c.nome), c.sesso, c.data, c.belfiore),
                  QString::fromLatin1(c.expected))
            << c.cognome << " " << c.nome << " " << c.sesso;
    }
}

TEST(CodiceFiscale, TheCheckCharacterFollowsTheFirstFifteen)
{
    // A cadastral code longer than four characters is cut at the fifteenth place.
    EXPECT_EQ(ComputeCodiceFiscale("ESEMPIO", "PROVA", "M", "05/03/71", "H5012"), "SMPPRV71C05H501X");
    // A month out of range adds no letter: the check is taken over the fourteen characters there are.
    EXPECT_EQ(ComputeCodiceFiscale("ESEMPIO", "PROVA", "M", "05/13/71", "H501"), "SMPPRV7105H501P");
}

TEST(CodiceFiscale, InsufficientInputGivesEmptyText)
{
    EXPECT_EQ(ComputeCodiceFiscale("O", "PROVA", "M", "05/03/71", "H501"), QString());
    EXPECT_EQ(ComputeCodiceFiscale("ESEMPIO", "P", "M", "05/03/71", "H501"), QString());
    EXPECT_EQ(ComputeCodiceFiscale("ESEMPIO", "PROVA", "", "05/03/71", "H501"), QString());
    EXPECT_EQ(ComputeCodiceFiscale("ESEMPIO", "PROVA", "M", "00/00/00", "H501"), QString());
    EXPECT_EQ(ComputeCodiceFiscale("ESEMPIO", "PROVA", "M", "", "H501"), QString());
    EXPECT_EQ(ComputeCodiceFiscale("ESEMPIO", "PROVA", "M", "05/03/71", ""), QString());
}
