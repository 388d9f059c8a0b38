#include "app/Settings.h"
#include "app/SettingsValidation.h"
#include "app/StartupPlan.h"
#include "data/Globals.h"
#include "tests/support/Printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

struct SettingsFixture : ::testing::Test
{
    QTemporaryDir dir;
    QString app() const { return dir.path() + "/"; }
    void SetUp() override
    {
        DatiEnte = TDatiEnte();
        QFile::remove(Settings::fallbackFile());
    }
    void TearDown() override { QFile::remove(Settings::fallbackFile()); }
};

} // namespace

TEST_F(SettingsFixture, MissingFileGivesDefaults)
{
    DatiEnte.Denominazione = "X";
    Settings::load(app());
    EXPECT_EQ(DatiEnte.Denominazione, QString());
    EXPECT_TRUE(PrimaEsecuzione);
    EXPECT_EQ(ProvaUpdate, 0);
}

TEST_F(SettingsFixture, RoundTripInWindows1252KeepingWhatItDoesNotKnow)
{
    writeAll(app() + "TARVIDO.INI", "; commento\r\n[ENTE]\r\nDENOMINAZIONE=COMUNE DI CANTÙ \r\nALTRO=resta\r\n"
                                    "[ESEG]\r\nPRIMAESECUZIONE=abc\r\nPROVAUPDATE=12x\r\n[AGGIORNAMENTI]\r\nSERVER=http://127.0.0.1:8080\r\n"
                                    "[MIO]\r\nCHIAVE=valore\r\n");
    // The file above is UTF-8 in this source: write the denomination as Windows-1252 bytes instead.
    QByteArray bytes = readAll(app() + "TARVIDO.INI");
    bytes.replace("CANT\xC3\x99", "CANT\xD9");
    writeAll(app() + "TARVIDO.INI", bytes);

    Settings::load(app());
    EXPECT_EQ(DatiEnte.Denominazione, QString::fromUtf8("COMUNE DI CANTÙ ")); // not trimmed
    EXPECT_TRUE(PrimaEsecuzione);  // garbage reads as the default
    EXPECT_EQ(ProvaUpdate, 0);
    EXPECT_EQ(Settings::updateServer(app()), "http://127.0.0.1:8080");

    DatiEnte.Citta = QString::fromUtf8("CANTÙ");
    DatiEnte.Belfiore = "B639";
    ProvaUpdate = 46000;
    EXPECT_EQ(Settings::save(app()), app() + "TARVIDO.INI");
    const QByteArray out = readAll(app() + "TARVIDO.INI");
    EXPECT_TRUE(out.contains("DENOMINAZIONE=COMUNE DI CANT\xD9 \r\n"));
    EXPECT_TRUE(out.contains("CITTA=CANT\xD9\r\n"));
    EXPECT_TRUE(out.contains("ALTRO=resta\r\n"));
    EXPECT_TRUE(out.contains("; commento\r\n"));
    EXPECT_TRUE(out.contains("[MIO]\r\nCHIAVE=valore\r\n"));
    EXPECT_TRUE(out.contains("PRIMAESECUZIONE=0\r\n"));
    EXPECT_TRUE(out.contains("PROVAUPDATE=46000\r\n"));
    EXPECT_FALSE(out.contains("abc"));

    DatiEnte = TDatiEnte();
    Settings::load(app());
    EXPECT_EQ(DatiEnte.Citta, QString::fromUtf8("CANTÙ"));
    EXPECT_EQ(DatiEnte.Belfiore, "B639");
    EXPECT_FALSE(PrimaEsecuzione);
    EXPECT_EQ(ProvaUpdate, 46000);
    // Nothing but the saved file is left in the folder.
    EXPECT_EQ(QDir(app()).entryList(QDir::Files | QDir::Hidden), QStringList{"TARVIDO.INI"});
}

TEST_F(SettingsFixture, FallsBackToTheUserFolderWhenTheProgramFolderCannotTakeTheFile)
{
    // A folder standing where the file would go makes the program folder's file unwritable.
    ASSERT_TRUE(QDir().mkpath(app() + "TARVIDO.INI"));
    DatiEnte.Denominazione = "COMUNE DI PROVA";
    EXPECT_EQ(Settings::save(app()), Settings::fallbackFile());
    DatiEnte = TDatiEnte();
    Settings::load(app());
    EXPECT_EQ(DatiEnte.Denominazione, "COMUNE DI PROVA");

    // Nowhere to write: the error names the file.
    QFile::remove(Settings::fallbackFile());
    ASSERT_TRUE(QDir().mkpath(Settings::fallbackFile()));
    try {
        Settings::save(app());
        FAIL() << "saved somewhere";
    } catch (const std::exception &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains("TARVIDO.INI"));
    }
    QDir(Settings::fallbackFile()).removeRecursively();
}

TEST(StartupPlan, UpdateQuestionBySevenDaysAndSettingsOnFirstRunOrMissingCode)
{
    TDatiEnte complete;
    complete.Belfiore = "H501";
    complete.Denominazione = "COMUNE DI ROMA";
    TDatiEnte noBelfiore = complete;
    noBelfiore.Belfiore.clear();
    TDatiEnte noName = complete;
    noName.Denominazione.clear();
    struct Case
    {
        int today, prova;
        bool prima;
        TDatiEnte ente;
        bool ask, settings, incomplete;
    } cases[] = {
        {46000, 0, true, TDatiEnte(), true, true, false}, // first start with no file
        {46001, 46000, false, complete, false, false, false},
        {46008, 46001, false, complete, true, false, false},
        {46006, 46000, false, complete, false, false, false},
        {46000, 46000, false, noBelfiore, false, true, false},
        {46000, 46000, false, noName, false, false, true},
    };
    for (const Case &c : cases) {
        const StartupPlan p = planStartup(c.today, c.prova, c.prima, c.ente);
        EXPECT_EQ(p.askUpdate, c.ask) << c.today << " " << c.prova;
        EXPECT_EQ(p.openSettings, c.settings) << c.today << " " << c.prova;
        EXPECT_EQ(p.incompleteMessage, c.incomplete) << c.today << " " << c.prova;
    }
}

TEST(SettingsValidation, ListsEveryProblemInOrder)
{
    TDatiEnte empty;
    EXPECT_EQ(settingsProblems(empty),
              QString::fromUtf8("Sono stati riscontrati i seguenti problemi:\rDenominazione Ente - campo obbligatorio\r"
                                "Indirizzo - campo obbligatorio\rCAP - campo obbligatorio\rCittà - campo obbligatorio\r"
                                "Codice belfiore dell'ente - campo obbligatorio\rProvincia - campo obbligatorio\r"
                                "Codice Fiscale Ente - valore errato o mancante\r"));
    TDatiEnte ok;
    ok.Denominazione = "COMUNE DI ROMA";
    ok.Indirizzo = "VIA";
    ok.Cap = "00100";
    ok.Citta = "ROMA";
    ok.Belfiore = "H501";
    ok.Provincia = "RM";
    ok.CodiceFiscale = "02438750586";
    EXPECT_EQ(settingsProblems(ok), QString());
    TDatiEnte blanks = ok;
    blanks.Denominazione = "   ";
    blanks.CodiceFiscale = "0243875058 "; // ten characters and a blank
    EXPECT_EQ(settingsProblems(blanks), "Sono stati riscontrati i seguenti problemi:\rDenominazione Ente - campo obbligatorio\r"
                                        "Codice Fiscale Ente - valore errato o mancante\r");
}
