#include "applicants/CodiceFiscale.h"
#include "applicants/ConsistencyCheck.h"
#include "tests/communications/TransmissionData.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace TransmissionData;

namespace {

const QString Message = QStringLiteral(
    "Da controlli effettuati sui dati inseriti, sono stati rilevati alcuni problemi sui Codici Fiscali. Adesso sarà "
    "mostrato un elenco dei soggetti per i quali è stato rilevato il problema.");

struct ConsistencyFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;

    void SetUp() override
    {
        folder.addDelivered("delivered/problemi.html");
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
    }
    void TearDown() override
    {
        data.reset();
        dm = nullptr;
    }
    QStringList listed() const
    {
        QStringList out;
        for (const CfProblem &p : mtProblemi())
            out << QStringList{p.cognome, p.nome, p.cf, p.sesso, p.dnascita.toString("dd/MM/yyyy")}.join(";");
        return out;
    }
};

TEST_F(ConsistencyFixture, RegisterInOrderShowsNothing)
{
    addPerson(*data, "ROSSI", "MARIO", "M", QDate(1971, 3, 5), roma(*data));
    addPerson(*data, "BIANCHI", "ANNA", "F", QDate(), castelvecchio(*data)); // coded from 30/12/1899
    addCompany(*data, "qualsiasi", "ALFA", roma(*data));
    EXPECT_FALSE(CheckCodiciFiscali());
    EXPECT_TRUE(sui.shown.isEmpty());
    EXPECT_TRUE(mtProblemi().isEmpty());
    EXPECT_EQ(sui.busyDepth, 0);
    EXPECT_GT(sui.maxBusyDepth, 0);
}

TEST_F(ConsistencyFixture, ListingRules)
{
    const qint64 rm = roma(*data);
    const QDate d(1971, 3, 5);
    const QString right = computedCf(*data, "ROSSI", "MARIO", "M", d, rm); // RSSMRA71C05H501?
    QString wrongCheck = right;
    wrongCheck[15] = right[15] == 'A' ? 'B' : 'A';
    QString omocodia = right;
    omocodia[14] = 'M'; // the last digit of the cadastral code as its omocodia letter
    addPerson(*data, "ROSSI", "MARIO", "M", d, rm, wrongCheck);
    addPerson(*data, "ROSSI", "MARIO", "M", d, rm, right.toLower());
    addPerson(*data, "ROSSI", "MARIO", "M", d, rm, omocodia);
    addPerson(*data, "ROSSI", "MARIO", "m", d, rm, right);           // computed as a woman
    addPerson(*data, "ROSSI", "MARIO", "M", QDate(), rm, right);       // computed from 30/12/1899
    addPerson(*data, "R", "MARIO", "M", d, rm, right);                 // empty computation
    addPerson(*data, "ROSSI", "MARIO", "M", d, rm);                    // in order
    addPerson(*data, "ROSSI", "MARIO", "M", d, QVariant(), wrongCheck);   // no birth municipality
    addPerson(*data, "ROSSI", "MARIO", "M", d, 999999, wrongCheck);       // municipality not listed
    addCompany(*data, wrongCheck, "ALFA", rm);                          // not a natural person

    EXPECT_TRUE(CheckCodiciFiscali());
    EXPECT_EQ(listed(), (QStringList{"ROSSI;MARIO;" + wrongCheck + ";M;05/03/1971",
                                     "ROSSI;MARIO;" + right.toLower() + ";M;05/03/1971",
                                     "ROSSI;MARIO;" + omocodia + ";M;05/03/1971",
                                     "ROSSI;MARIO;" + right + ";m;05/03/1971",
                                     "ROSSI;MARIO;" + right + ";M;",
                                     "R;MARIO;" + right + ";M;05/03/1971"}));

    ASSERT_EQ(sui.shown.size(), 2);
    EXPECT_EQ(sui.shown[0].kind, "message");
    EXPECT_EQ(sui.shown[0].text, Message);
    EXPECT_EQ(sui.shown[1].kind, "report");
    ASSERT_EQ(sui.reports.size(), 1);
    const Report &r = sui.reports.first();
    EXPECT_EQ(r.name(), "problemi");
    EXPECT_TRUE(r.variables().isEmpty());
    EXPECT_EQ(r.data().fields(), (QStringList{"cognome", "nome", "cf", "sesso", "dnascita"}));
    ASSERT_EQ(r.data().rowCount(), 6);
    EXPECT_EQ(r.data().value(0, "cf").toString(), wrongCheck);
    EXPECT_EQ(r.data().value(0, "dnascita").toDate(), d);
    EXPECT_TRUE(r.data().value(4, "dnascita").isNull());
    // The delivered template lists the stored code.
    EXPECT_TRUE(r.html().contains(right.toLower()));
    EXPECT_EQ(sui.busyDepth, 0);

    // A second run holds only its own findings.
    data->Database1.connection().exec("DELETE FROM RICHIEDENTI WHERE PERS_CF <> ?", {wrongCheck});
    sui.clear();
    EXPECT_TRUE(CheckCodiciFiscali());
    EXPECT_EQ(listed(), QStringList{"ROSSI;MARIO;" + wrongCheck + ";M;05/03/1971"});
}

TEST_F(ConsistencyFixture, MissingTemplateIsNamedAndNoPreviewShown)
{
    QFile::remove(folder.file("problemi.html"));
    addPerson(*data, "ROSSI", "MARIO", "M", QDate(1971, 3, 5), roma(*data), QString("RSSMRA71C05H501A"));
    EXPECT_TRUE(CheckCodiciFiscali());
    EXPECT_TRUE(sui.reports.isEmpty());
    ASSERT_EQ(sui.texts().size(), 2);
    EXPECT_EQ(sui.texts()[1],
              "Il modello di stampa \"" + QDir::toNativeSeparators(folder.file("problemi.html")) + "\" non è stato trovato.");
}

// The check computes plain ASCII data without ComputeCodiceFiscale: both must agree on every input.
TEST(StoredCfMatches, AgreesWithComputeCodiceFiscale)
{
    QRandomGenerator rng(4242);
    const QString alphabet = "BCDFGLMNRSTZAEIOUXYKJWaeioubcmz '-ÀÈÒ.1";
    auto word = [&] {
        QString w;
        const int n = rng.bounded(0, 40);
        for (int i = 0; i < n; ++i)
            w += alphabet.at(rng.bounded(int(alphabet.size())));
        return w;
    };
    const QStringList sexes{"M", "F", "m", "", "MM", "X"};
    const QStringList fixedDates{"", "1899-12-30", "0999-01-31", "2008-02-29", "2008-02-30", "2008-13-01",
                                 "abc", "2008-1-1", "1971-03-05"};
    const QStringList belfiori{"H501", "C277", "", "A1", "Z7215", "h501", "È12"};
    for (int i = 0; i < 20000; ++i) {
        const QString cognome = word(), nome = word();
        const QString sesso = sexes.at(rng.bounded(int(sexes.size())));
        const QString belfiore = belfiori.at(rng.bounded(int(belfiori.size())));
        QString iso = fixedDates.at(rng.bounded(int(fixedDates.size())));
        if (rng.bounded(2))
            iso = QDate(1900, 1, 1).addDays(rng.bounded(50000)).toString(Qt::ISODate);
        QDate d = QDate::fromString(iso, Qt::ISODate);
        if (!d.isValid())
            d = QDate(1899, 12, 30);
        const QString expected = ComputeCodiceFiscale(cognome, nome, sesso, d.toString("dd/MM/yy"), belfiore);
        const QByteArray c = cognome.toUtf8(), n = nome.toUtf8(), s = sesso.toUtf8(), b = belfiore.toUtf8(),
                         t = iso.toUtf8();
        const QString context = QStringList{cognome, nome, sesso, iso, belfiore, expected}.join('|');
        ASSERT_TRUE(StoredCfMatches(c, n, s, t, b, expected.toUtf8())) << context.toStdString();
        QByteArray other = expected.isEmpty() ? QByteArray("X") : expected.toUtf8();
        if (!expected.isEmpty())
            other[other.size() - 1] = other.back() == 'A' ? 'B' : 'A';
        ASSERT_FALSE(StoredCfMatches(c, n, s, t, b, other)) << context.toStdString();
        ASSERT_FALSE(StoredCfMatches(c, n, s, t, b, expected.toLower().toUtf8() + (expected.isEmpty() ? "x" : "")))
            << context.toStdString();
    }
}

} // namespace
