#include "data/Database.h"
#include "data/Globals.h"
#include "data/Tdm.h"
#include "data/TableRepair.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct DataFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;

    void open()
    {
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
    }
    void TearDown() override
    {
        data.reset();
        dm = nullptr;
    }
    qint64 addComune(const QString &codice, const QString &nome, const QString &prov)
    {
        data->Database1.connection().exec("INSERT INTO COMUNI (CODICE, NOME, PROV, CAP) VALUES (?,?,?,'')", {codice, nome, prov});
        return data->Database1.connection().lastInsertId();
    }
    qint64 addPerson(const QString &cf, const QString &cognome, const QString &nome, qint64 comune)
    {
        TableCursor *t = data->ttRICHIEDENTI;
        t->append();
        t->setFieldValue("TIPO_RICHIEDENTE", "P");
        t->setFieldValue("PERS_CF", cf);
        t->setFieldValue("PERS_COGNOME", cognome);
        t->setFieldValue("PERS_NOME", nome);
        t->setFieldValue("PERS_SESSO", "M");
        t->setFieldValue("PERS_DNASCITA", QDate(1971, 3, 5));
        t->setFieldValue("ID_COMUNE", comune);
        t->post();
        return t->key();
    }
    qint64 addCompany(const QString &piva, const QString &denom, qint64 sede)
    {
        TableCursor *t = data->ttRICHIEDENTI;
        t->append();
        t->setFieldValue("TIPO_RICHIEDENTE", "A");
        t->setFieldValue("PERS_CF", piva);
        t->setFieldValue("DENOMINAZIONE", denom);
        t->setFieldValue("ID_COMUNE_SEDE", sede);
        t->post();
        return t->key();
    }
    qint64 addDenuncia(int anno, int progressivo, const QString &stato)
    {
        TableCursor *d = data->ttDENUNCE;
        d->append();
        d->setFieldValue("ANNO", anno);
        d->setFieldValue("PROGRESSIVO", progressivo);
        d->setFieldValue("STATO", stato);
        d->post();
        return d->key();
    }
    qint64 addRichiesta(qint64 richiedente)
    {
        TableCursor *r = data->ttRICHIESTE;
        r->append();
        r->setFieldValue("ID_RICHIEDENTE", richiedente);
        r->setFieldValue("CODICE", "01");
        r->post();
        return r->key();
    }
};

} // namespace

TEST_F(DataFixture, OpensAllTablesSilentlyWithComuniInOrderOfName)
{
    open();
    for (TableCursor *t : data->tables())
        EXPECT_TRUE(t->isOpen()) << t->fileName().toStdString();
    EXPECT_TRUE(sui.shown.isEmpty());
    TableCursor *c = data->ttCOMUNI;
    c->first();
    QString previous = c->text("NOME");
    for (int i = 0; i < 50; ++i) {
        c->next();
        EXPECT_LE(previous, c->text("nome")); // field names in any case
        previous = c->text("NOME");
    }
}

TEST_F(DataFixture, LookupsAndCdenomFollowTheApplicant)
{
    open();
    const qint64 roma = addComune("H501", "ROMA", "RM");
    const qint64 milano = addComune("F205", "MILANO", "MI");
    const qint64 person = addPerson("SMPPRV71C05H501X", "ESEMPIO", "PROVA", roma);
    EXPECT_EQ(data->ttRICHIEDENTI->text("CDENOM"), "ESEMPIO PROVA");
    EXPECT_EQ(data->ttRICHIEDENTI->text("lkCOMUNE"), "ROMA");
    const qint64 company = addCompany("01234567890", "ACME SRL", milano);
    EXPECT_EQ(data->ttRICHIEDENTI->text("CDENOM"), "ACME SRL");
    EXPECT_EQ(data->ttRICHIEDENTI->text("lkcomune_sede"), "MILANO");

    // A person with an empty given name: surname and one blank. A company with no name: empty.
    addPerson("X", "SOLO", "", 999999);
    EXPECT_EQ(data->ttRICHIEDENTI->text("CDENOM"), "SOLO ");
    EXPECT_EQ(data->ttRICHIEDENTI->text("lkCOMUNE"), QString()); // no such municipality
    addCompany("Y", "", milano);
    EXPECT_EQ(data->ttRICHIEDENTI->text("CDENOM"), QString());

    addDenuncia(2010, 1, "A");
    addRichiesta(person);
    TableCursor *r = data->ttRICHIESTE;
    EXPECT_EQ(r->text("lkCodFisRich"), "SMPPRV71C05H501X");
    EXPECT_EQ(r->text("lkCognomeRich"), "ESEMPIO");
    EXPECT_EQ(r->text("lkNomeRich"), "PROVA");
    EXPECT_EQ(r->text("lkSessoRich"), "M");
    EXPECT_EQ(r->date("lkDnascitaRich"), QDate(1971, 3, 5));
    EXPECT_EQ(r->text("lkCOMUNE"), "ROMA");
    EXPECT_EQ(r->text("lkDenominazione"), QString());

    addRichiesta(company);
    EXPECT_EQ(r->text("lkDenominazione"), "ACME SRL");
    EXPECT_EQ(r->text("LKCOMUNE_SEDE"), "MILANO");
    EXPECT_EQ(r->text("lkCognomeRich"), QString());
    EXPECT_EQ(r->text("lkCOMUNE"), QString());

    addRichiesta(0);
    for (const char *lk : {"lkCodFisRich", "lkCognomeRich", "lkNomeRich", "lkDenominazione", "lkComune_Sede"})
        EXPECT_EQ(r->text(lk), QString()) << lk;

    // Changing the applicant of a request being edited refreshes the lookups at once.
    r->edit();
    r->setFieldValue("ID_RICHIEDENTE", person);
    EXPECT_EQ(r->text("lkCognomeRich"), "ESEMPIO");
    r->cancel();
    EXPECT_EQ(r->text("lkCognomeRich"), QString());
}

TEST_F(DataFixture, RequestsFollowTheCurrentCommunicationAndTakeItsDefaults)
{
    open();
    const qint64 d1 = addDenuncia(2010, 1, "C");
    addRichiesta(0);
    addRichiesta(0);
    const qint64 d2 = addDenuncia(2010, 2, "A");
    EXPECT_TRUE(data->ttRICHIESTE->isEmpty());
    TableCursor *r = data->ttRICHIESTE;
    r->append();
    EXPECT_EQ(r->integer("ID_DENUNCIA"), d2);
    EXPECT_EQ(r->integer("NUM_TRASM"), 1);
    EXPECT_EQ(r->integer("PADRE"), 0);
    EXPECT_EQ(r->date("DATA_CREAZIONE"), QDate::currentDate());
    r->post();
    EXPECT_EQ(r->recordCount(), 1);

    ASSERT_TRUE(data->ttDENUNCE->moveToKey(d1));
    EXPECT_EQ(r->recordCount(), 2);
    r->first();
    int seen = 0;
    while (!r->eof()) {
        EXPECT_EQ(r->integer("ID_DENUNCIA"), d1);
        ++seen;
        r->next();
    }
    EXPECT_EQ(seen, 2);
    EXPECT_TRUE(data->ttDENUNCE->locate(QStringList{"ANNO", "STATO"}, {2010, "A"}));
    EXPECT_EQ(data->ttDENUNCE->key(), d2);
    EXPECT_FALSE(data->ttDENUNCE->locate(QStringList{"ANNO", "STATO"}, {2011, "A"}));
    EXPECT_EQ(data->ttDENUNCE->key(), d2);
}

TEST_F(DataFixture, EmptyDatesAreStoredAsNull)
{
    open();
    addDenuncia(2010, 1, "A");
    const qint64 k = addRichiesta(0);
    const QVariant stored = data->Database1.connection().scalar("SELECT DATA_INIZIO FROM RICHIESTE WHERE ID_RICHIESTA = ?", {k});
    EXPECT_TRUE(stored.isNull());
    EXPECT_FALSE(data->ttRICHIESTE->date("DATA_INIZIO").isValid());
    EXPECT_EQ(data->Database1.connection().scalar("SELECT DATA_CREAZIONE FROM RICHIESTE WHERE ID_RICHIESTA = ?", {k}).toString(),
              QDate::currentDate().toString(Qt::ISODate));
}

TEST_F(DataFixture, TransactionAcrossTwoTableFilesRollsBackAndCommitsAsOne)
{
    open();
    addDenuncia(2010, 1, "A");
    auto counts = [&] {
        return std::make_pair(data->Database1.connection().scalar("SELECT count(*) FROM RICHIEDENTI").toInt(),
                              data->Database1.connection().scalar("SELECT count(*) FROM RICHIESTE").toInt());
    };
    data->Database1.startTransaction();
    EXPECT_TRUE(data->Database1.inTransaction());
    addRichiesta(addPerson("A", "B", "C", 0));
    EXPECT_EQ(counts(), std::make_pair(1, 1));
    data->Database1.rollback();
    EXPECT_FALSE(data->Database1.inTransaction());
    EXPECT_EQ(counts(), std::make_pair(0, 0));

    data->Database1.startTransaction();
    addRichiesta(addPerson("A", "B", "C", 0));
    data->Database1.commit();
    data.reset();
    // On disk, in each file.
    SingleFileDatabase a(folder.dataPath() + "RICHIEDENTI.DAT", SingleFileDatabase::ReadOnly);
    SingleFileDatabase b(folder.dataPath() + "RICHIESTE.DAT", SingleFileDatabase::ReadOnly);
    EXPECT_EQ(a.connection().scalar("SELECT count(*) FROM RICHIEDENTI").toInt(), 1);
    EXPECT_EQ(b.connection().scalar("SELECT count(*) FROM RICHIESTE").toInt(), 1);
}

TEST_F(DataFixture, LikeIsCaseSensitiveAndPrefixSearchUsesAnIndex)
{
    open();
    addPerson("RSSMRA", "ROSSI", "MARIA", 0);
    addPerson("rssmra", "rossi", "maria", 0);
    Connection &c = data->Database1.connection();
    EXPECT_EQ(c.scalar("SELECT count(*) FROM RICHIEDENTI WHERE PERS_COGNOME LIKE ?", {"ROS%"}).toInt(), 1);
    Statement plan(c, "EXPLAIN QUERY PLAN SELECT * FROM RICHIEDENTI WHERE PERS_CF LIKE ?");
    plan.bind(1, "RSS%");
    QString detail;
    while (plan.step())
        detail += plan.value(3).toString();
    EXPECT_TRUE(detail.contains("INDEX")) << detail.toStdString();
}

TEST_F(DataFixture, MissingTableFileLeavesThatTableClosedWithoutAMessage)
{
    QFile::remove(folder.dataPath() + "PROVVEDIMENTI.DAT");
    open();
    EXPECT_FALSE(data->ttPROVVEDIMENTI->isOpen());
    EXPECT_TRUE(data->ttCOMUNI->isOpen());
    EXPECT_TRUE(sui.shown.isEmpty());
    EXPECT_THROW(data->ttPROVVEDIMENTI->first(), DataError);
}

namespace {
class RecordingObserver : public RepairObserver
{
public:
    explicit RecordingObserver(QList<int> *seen) : m_seen(seen) {}
    void progress(const QString &, int percent) override { m_seen->append(percent); }

private:
    QList<int> *m_seen;
};
} // namespace

TEST_F(DataFixture, DamagedTableIsRepairedAtOpeningKeepingItsReadableRowsAndTheOriginal)
{
    open();
    data->Database1.startTransaction();
    for (int i = 0; i < 3000; ++i)
        addPerson(QString("CF%1").arg(i, 6, 10, QLatin1Char('0')), "COGNOME", "NOME", 0);
    data->Database1.commit();
    data.reset();
    // Damage one leaf page of the table itself, in the middle of it.
    const QString file = folder.dataPath() + "RICHIEDENTI.DAT";
    qint64 offset = 0;
    {
        SingleFileDatabase db(file, SingleFileDatabase::ReadOnly);
        const qint64 pageSize = db.connection().scalar("PRAGMA page_size").toLongLong();
        QList<qint64> leaves;
        Statement s(db.connection(), "SELECT pageno FROM dbstat WHERE name = 'RICHIEDENTI' AND pagetype = 'leaf' ORDER BY pageno");
        while (s.step())
            leaves << s.value(0).toLongLong();
        ASSERT_GT(leaves.size(), 4);
        offset = (leaves.at(leaves.size() / 2) - 1) * pageSize;
    }
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(offset);
        f.write(QByteArray(4096, '\xA5'));
    }
    QList<int> progress;
    Tdm::repairObserverFactory = [&] { return std::make_unique<RecordingObserver>(&progress); };
    open();
    Tdm::repairObserverFactory = nullptr;
    EXPECT_TRUE(data->ttRICHIEDENTI->isOpen());
    EXPECT_TRUE(sui.shown.isEmpty()) << sui.texts().join("|").toStdString();
    const int rows = data->ttRICHIEDENTI->recordCount();
    EXPECT_GT(rows, 2000);
    EXPECT_LT(rows, 3000);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.first(), 0);
    EXPECT_EQ(progress.last(), 100);
    const QStringList kept = QDir(folder.dataPath()).entryList({"RICHIEDENTI.DAT.danneggiato-*"});
    EXPECT_EQ(kept.size(), 1);
    // New keys continue after the old ones.
    const qint64 k = addPerson("NEW", "N", "N", 0);
    EXPECT_GT(k, 3000);
}

TEST_F(DataFixture, FileThatIsNotADatabaseIsRebuiltEmpty)
{
    {
        QFile f(folder.dataPath() + "DENUNCE.DAT");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(8192, 'x'));
    }
    open();
    EXPECT_TRUE(data->ttDENUNCE->isOpen());
    EXPECT_EQ(data->ttDENUNCE->recordCount(), 0);
    EXPECT_TRUE(data->ttRICHIESTE->isOpen());
}

TEST_F(DataFixture, RepairThatFailsNamesTheTableFileAndStopsTheOpening)
{
    // A damaged file whose rebuilt copy cannot be written: a folder stands where it would go.
    {
        QFile f(folder.dataPath() + "RICHIESTE.DAT");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(8192, 'x'));
    }
    ASSERT_TRUE(QDir().mkpath(folder.dataPath() + "RICHIESTE.DAT.ricostruzione/blocca"));
    open();
    ASSERT_GE(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown.first().kind, "message");
    EXPECT_EQ(sui.shown.first().text,
              "Attenzione la Tabella \"RICHIESTE.DAT\" risulta danneggiata\rin modo irreversibile oppure é in uso da un altro\r"
              "Utente. Utilizzare il menu Utilità e la funzione\rRiparazione archivi per ripristinarla.");
    EXPECT_TRUE(data->ttDENUNCE->isOpen());
    EXPECT_FALSE(data->ttRICHIESTE->isOpen());
    EXPECT_FALSE(data->ttRICHIEDENTI->isOpen()); // the second opening failed: the rest stay closed
}

TEST(Record, FieldNamesMatchWithoutRegardToCase)
{
    Record r;
    r.append("PERS_CF", "ABC");
    EXPECT_EQ(r.text("pers_cf"), "ABC");
    r.setValue("Pers_Cf", "DEF");
    EXPECT_EQ(r.value("PERS_CF").toString(), "DEF");
    EXPECT_THROW(r.value("NOPE"), DataError);
}

TEST(Windows1252, AcceptsItsCharactersAndRefusesOthers)
{
    EXPECT_TRUE(isWindows1252(QString::fromUtf8("NOÈ € ‘’ àèìòù ÿ")));
    EXPECT_FALSE(isWindows1252(QString::fromUtf8("Ā")));
    EXPECT_FALSE(isWindows1252(QString::fromUtf8("日本")));
}

TEST_F(DataFixture, MissingDataFolderIsReportedAndTheProgramGoesOnWithClosedTables)
{
    QDir(folder.dataPath()).removeRecursively();
    open();
    ASSERT_EQ(sui.texts("error").size(), 1);
    EXPECT_TRUE(sui.texts("error").first().contains("dati")) << sui.texts("error").first().toStdString();
    for (TableCursor *t : data->tables())
        EXPECT_FALSE(t->isOpen());
}

TEST_F(DataFixture, RepairOfASoundTableKeepsItsRowsAndLeavesNoCopy)
{
    open();
    addDenuncia(2010, 1, "A");
    addRichiesta(0);
    data.reset();
    const TableRepair::Result r = TableRepair::repair(folder.dataPath() + "RICHIESTE.DAT");
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.keptOriginal.isEmpty());
    EXPECT_TRUE(QDir(folder.dataPath()).entryList({"RICHIESTE.DAT.*"}).isEmpty());
    SingleFileDatabase db(folder.dataPath() + "RICHIESTE.DAT", SingleFileDatabase::ReadOnly);
    EXPECT_EQ(db.connection().scalar("SELECT count(*) FROM RICHIESTE").toInt(), 1);
}
