#include "communications/Communications.h"
#include "communications/RequestsModel.h"
#include "data/Tdm.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct CommunicationsFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;

    void SetUp() override
    {
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
    }
    void TearDown() override
    {
        data.reset();
        dm = nullptr;
    }
    Connection &sql() { return data->Database1.connection(); }
    qint64 addCommunication(int anno, int progressivo, const QString &stato, const QString &file = QString())
    {
        sql().exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, STATO, NOME_FILE) VALUES (?,?,?,?,?)",
                   {anno, progressivo, Communications::description(progressivo, anno), stato, file});
        const qint64 id = sql().lastInsertId();
        data->ttDENUNCE->refresh();
        data->ttDENUNCE->moveToKey(id);
        return id;
    }
    qint64 addApplicant(const QVariant &cognome, const QVariant &denominazione)
    {
        sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_COGNOME, DENOMINAZIONE) VALUES (?,?,?)",
                   {cognome.isNull() ? "A" : "P", cognome, denominazione});
        return sql().lastInsertId();
    }
    qint64 addRequest(qint64 denuncia, qint64 richiedente, const QString &numero)
    {
        sql().exec("INSERT INTO RICHIESTE (ID_DENUNCIA, ID_RICHIEDENTE, CODICE, NUMERO) VALUES (?,?,'01',?)",
                   {denuncia, richiedente, numero});
        return sql().lastInsertId();
    }
    int rows(const char *table) { return sql().scalar(QString("SELECT count(*) FROM %1").arg(table)).toInt(); }
};

} // namespace

TEST_F(CommunicationsFixture, NumbersCommunicationsPerYearOverEveryState)
{
    EXPECT_EQ(Communications::NextProgressivo(2010), 1);
    ASSERT_TRUE(Communications::NewCommunication(2010));
    TableCursor *d = data->ttDENUNCE;
    EXPECT_EQ(d->integer("ANNO"), 2010);
    EXPECT_EQ(d->integer("PROGRESSIVO"), 1);
    EXPECT_EQ(d->text("DESCRIZIONE"), "Comunicazione n. 1 / 2010");
    EXPECT_EQ(d->text("STATO"), "A");
    EXPECT_EQ(d->date("DATA_CREAZIONE"), QDate::currentDate());
    EXPECT_TRUE(d->text("NOME_FILE").isEmpty());

    // 1 in "C", 2 in "T": the next is 3; other years do not count.
    sql().exec("UPDATE DENUNCE SET STATO = 'C'");
    addCommunication(2010, 2, "T");
    addCommunication(2011, 7, "C");
    addCommunication(2009, 9, "A");
    EXPECT_EQ(Communications::NextProgressivo(2010), 3);
    ASSERT_TRUE(Communications::NewCommunication(2010));
    EXPECT_EQ(d->text("DESCRIZIONE"), "Comunicazione n. 3 / 2010");
    EXPECT_EQ(Communications::NextProgressivo(2012), 1);
}

TEST_F(CommunicationsFixture, RefusesANewCommunicationWhileTheYearHasAnOpenOne)
{
    const qint64 open = addCommunication(2010, 1, "A");
    EXPECT_FALSE(Communications::NewCommunication(2010));
    EXPECT_EQ(rows("DENUNCE"), 1);
    EXPECT_EQ(data->ttDENUNCE->key(), open);
    // Another year is free; once the open one has its file, 2010 is free again.
    EXPECT_TRUE(Communications::NewCommunication(2011));
    sql().exec("UPDATE DENUNCE SET STATO = 'C' WHERE ID_DENUNCIA = ?", {open});
    EXPECT_TRUE(Communications::NewCommunication(2010));
    EXPECT_EQ(data->ttDENUNCE->integer("PROGRESSIVO"), 2);
    EXPECT_TRUE(sui.shown.isEmpty()); // the refusal is silent here; the main window speaks
}

TEST_F(CommunicationsFixture, InfoSulFileHasFourAnswers)
{
    EXPECT_EQ(Communications::fileInfoText("A", "/x/TARVIDO_2010_1.txt", true), "La comunicazione è ancora Aperta");
    EXPECT_EQ(Communications::fileInfoText("C", "", false), "Nessun file associato alla comunicazione");
    EXPECT_EQ(Communications::fileInfoText("T", "/x/f.txt", true), "File: /x/f.txt");
    EXPECT_EQ(Communications::fileInfoText("C", "/x/f.txt", false), "File: /x/f.txt (Il file è stato Rimosso!!!)");

    // Against the disk: the same communication before and after its file is deleted.
    const QString file = folder.file("TARVIDO_2010_1.txt");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    addCommunication(2010, 1, "C", file);
    Communications::InfoSulFile();
    QFile::remove(file);
    Communications::InfoSulFile();
    EXPECT_EQ(sui.texts("message"),
              QStringList({"File: " + file, "File: " + file + " (Il file è stato Rimosso!!!)"}));
}

TEST_F(CommunicationsFixture, EnabledCommandsFollowTheState)
{
    const CommunicationCommands::Wired all{true, true, true, true};
    const CommunicationCommands::Wired none;
    struct Case
    {
        const char *stato;
        bool copiaIn, trasmessa, nonTrasmessa;
    } cases[] = {{"A", false, false, false}, {"C", true, true, false}, {"T", true, false, true}, {"", false, false, false}};
    for (const Case &c : cases) {
        const CommunicationCommands w = CommunicationCommands::forState(c.stato, all, false);
        EXPECT_EQ(w.copiaIn, c.copiaIn) << c.stato;
        EXPECT_EQ(w.trasmessa, c.trasmessa) << c.stato;
        EXPECT_EQ(w.nonTrasmessa, c.nonTrasmessa) << c.stato;
        EXPECT_TRUE(w.nuova && w.modifica && w.elimina && w.stampa && w.creaFile && w.info && w.uscita) << c.stato;
        // What is not wired stays disabled whatever the state.
        const CommunicationCommands u = CommunicationCommands::forState(c.stato, none, false);
        EXPECT_FALSE(u.nuova || u.modifica || u.copiaIn || u.stampa || u.creaFile) << c.stato;
        EXPECT_TRUE(u.elimina && u.info && u.uscita) << c.stato;
        // A long operation disables everything.
        const CommunicationCommands b = CommunicationCommands::forState(c.stato, all, true);
        EXPECT_FALSE(b.nuova || b.modifica || b.elimina || b.copiaIn || b.stampa || b.creaFile || b.info || b.uscita
                     || b.trasmessa || b.nonTrasmessa)
            << c.stato;
    }
}

TEST_F(CommunicationsFixture, MarksTransmittedAndBackAfterAQuestion)
{
    addCommunication(2010, 1, "A");
    EXPECT_FALSE(Communications::MarkTransmitted()); // never from "A", and nothing asked
    EXPECT_FALSE(Communications::MarkNotTransmitted());
    EXPECT_TRUE(sui.shown.isEmpty());

    const qint64 id = addCommunication(2010, 2, "C");
    sui.answers << false << true;
    EXPECT_FALSE(Communications::MarkTransmitted());
    EXPECT_EQ(data->ttDENUNCE->text("STATO"), "C");
    EXPECT_TRUE(Communications::MarkTransmitted());
    EXPECT_EQ(sql().scalar("SELECT STATO FROM DENUNCE WHERE ID_DENUNCIA = ?", {id}).toString(), "T");
    ASSERT_EQ(sui.shown.size(), 2);
    EXPECT_EQ(sui.shown.at(0).caption, "Richiesta conferma");
    EXPECT_TRUE(sui.shown.at(0).defaultNo);
    EXPECT_FALSE(Communications::MarkTransmitted()); // already "T"

    sui.answers << true;
    EXPECT_TRUE(Communications::MarkNotTransmitted());
    EXPECT_EQ(sql().scalar("SELECT STATO FROM DENUNCE WHERE ID_DENUNCIA = ?", {id}).toString(), "C");
}

TEST_F(CommunicationsFixture, EliminaDeletesOnlyTheCurrentRequestAfterYes)
{
    const qint64 d = addCommunication(2010, 1, "A");
    const qint64 other = addCommunication(2010, 2, "C");
    const qint64 p = addApplicant("ROSSI", QVariant());
    addRequest(other, p, "9");
    data->ttDENUNCE->moveToKey(d);
    EXPECT_FALSE(Communications::DeleteCurrentRequest()); // empty communication: nothing, no question
    EXPECT_TRUE(sui.shown.isEmpty());

    const qint64 r1 = addRequest(d, p, "1"), r2 = addRequest(d, p, "2"), r3 = addRequest(d, p, "3");
    data->ttRICHIESTE->refresh();
    ASSERT_TRUE(data->ttRICHIESTE->moveToKey(r2));
    sui.answers << false << true;
    EXPECT_FALSE(Communications::DeleteCurrentRequest());
    EXPECT_EQ(rows("RICHIESTE"), 4);
    EXPECT_TRUE(Communications::DeleteCurrentRequest());
    EXPECT_EQ(sql().scalar("SELECT group_concat(ID_RICHIESTA) FROM RICHIESTE WHERE ID_DENUNCIA = ?", {d}).toString(),
              QString("%1,%2").arg(r1).arg(r3));
    EXPECT_EQ(rows("RICHIESTE"), 3);
    const ScriptedUi::Shown &q = sui.shown.at(0);
    EXPECT_EQ(q.caption, "Richiesta conferma");
    EXPECT_EQ(q.text, "Si è scelto di eliminare la richiesta selezionata. Si vuole realmente eseguire questa operazione?");
    EXPECT_EQ(q.icon, Ui::Icon::Information);
    EXPECT_TRUE(q.defaultNo);
}

TEST_F(CommunicationsFixture, RequestDialogRunsInsideATransactionThatIsNeverLeftOpen)
{
    const qint64 d = addCommunication(2010, 1, "A");
    Communications::BeginNewRequest();
    EXPECT_TRUE(data->Database1.inTransaction());
    TableCursor *r = data->ttRICHIESTE;
    EXPECT_EQ(r->state(), TableCursor::State::Insert);
    EXPECT_EQ(r->integer("ID_DENUNCIA"), d);
    EXPECT_EQ(r->integer("NUM_TRASM"), 1);
    r->setFieldValue("CODICE", "01");
    r->post();
    // A dialog that returns without commit or rollback: the window rolls back.
    Communications::EndRequestDialog();
    EXPECT_FALSE(data->Database1.inTransaction());
    EXPECT_EQ(rows("RICHIESTE"), 0);
    EXPECT_TRUE(r->isEmpty());

    EXPECT_FALSE(Communications::BeginEditRequest()); // empty: nothing
    EXPECT_FALSE(data->Database1.inTransaction());
    addRequest(d, 0, "5");
    r->refresh();
    EXPECT_TRUE(Communications::BeginEditRequest());
    EXPECT_EQ(r->state(), TableCursor::State::Edit);
    r->setFieldValue("NUMERO", "6");
    r->post();
    data->Database1.commit();
    Communications::EndRequestDialog();
    EXPECT_EQ(sql().scalar("SELECT NUMERO FROM RICHIESTE").toString(), "6");
}

TEST_F(CommunicationsFixture, GridListsTheCurrentCommunicationBySurnameDescending)
{
    const qint64 d = addCommunication(2010, 1, "C");
    const qint64 other = addCommunication(2010, 2, "A");
    const qint64 bianchi = addApplicant("BIANCHI", QVariant()), verdi = addApplicant("VERDI", QVariant()),
                 ditta = addApplicant(QVariant(), "DITTA SRL"), rossi = addApplicant("ROSSI", QVariant());
    const qint64 a = addRequest(d, bianchi, "1"), b = addRequest(d, ditta, "2"), c = addRequest(d, verdi, "3"),
                 e = addRequest(d, rossi, "4"), f = addRequest(d, 999, "5");
    addRequest(other, rossi, "6");
    data->ttDENUNCE->moveToKey(d);
    RequestsModel model(*data);
    ASSERT_EQ(model.rowCount(), 5);
    QList<qint64> keys;
    for (int i = 0; i < 5; ++i)
        keys << model.keyAt(i);
    // Surnames descending; the company and the request without applicant after them.
    EXPECT_EQ(keys.mid(0, 3), QList<qint64>({c, e, a}));
    EXPECT_EQ(QSet<qint64>(keys.begin() + 3, keys.end()), QSet<qint64>({b, f}));
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(4, Qt::Horizontal).toString(), "Azienda/Ditta");
    EXPECT_EQ(model.index(0, 2).data().toString(), "VERDI");
    EXPECT_EQ(model.index(0, 1).data().toString(), "3");
    EXPECT_EQ(model.index(model.rowOfKey(b), 4).data().toString(), "DITTA SRL");

    // The grid follows the current communication and the changes of its requests.
    data->ttDENUNCE->moveToKey(other);
    EXPECT_EQ(model.rowCount(), 1);
    data->ttDENUNCE->moveToKey(d);
    data->ttRICHIESTE->moveToKey(c);
    data->ttRICHIESTE->deleteCurrent();
    EXPECT_EQ(model.rowCount(), 4);
}

TEST_F(CommunicationsFixture, LargeCommunicationKeepsTheSameOrder)
{
    // Past the threshold the order comes from the surname index: it must be the order of a plain sort.
    const qint64 d = addCommunication(2010, 1, "A");
    {
        Transaction tr(sql());
        const char *surnames[] = {"ROSSI", "BIANCHI", "D'ANGELO", "VERDI", "", "ZANI"};
        for (int i = 0; i < 300; ++i) {
            const char *s = surnames[i % 6];
            if (i % 7 == 0)
                addApplicant(QVariant(), "DITTA");
            else
                addApplicant(QString(s), QVariant());
        }
        Statement ins(sql(), "INSERT INTO RICHIESTE (ID_DENUNCIA, ID_RICHIEDENTE, NUMERO) VALUES (?,?,?)");
        for (int i = 0; i < RequestsModel::LargeCommunication + 500; ++i) {
            ins.bind(1, d).bind(2, (i * 7919) % 310 + 1).bind(3, QString::number(i)); // some without applicant
            ins.step();
            ins.reset();
        }
        tr.commit();
    }
    data->ttDENUNCE->refresh();
    RequestsModel model(*data);
    model.setMaxCachedPages(3);
    const int n = RequestsModel::LargeCommunication + 500;
    ASSERT_EQ(model.rowCount(), n);
    QList<QString> expected;
    Statement s(sql(), "SELECT COALESCE(P.PERS_COGNOME, '') FROM RICHIESTE R LEFT JOIN RICHIEDENTI P ON "
                       "P.ID_RICHIEDENTE = R.ID_RICHIEDENTE WHERE R.ID_DENUNCIA = ? ORDER BY 1 DESC");
    s.bind(1, d);
    while (s.step())
        expected << s.value(0).toString();
    // Forward, then a jump into the unnamed tail, then backwards across the boundary.
    QSet<qint64> seen;
    for (int i = 0; i < n; i += 1) {
        ASSERT_EQ(model.index(i, 2).data().toString(), expected.at(i)) << i;
        seen.insert(model.keyAt(i));
    }
    EXPECT_EQ(seen.size(), n);
    RequestsModel fresh(*data);
    fresh.setMaxCachedPages(3);
    for (int i = n - 1; i >= 0; i -= 37)
        ASSERT_EQ(fresh.index(i, 2).data().toString(), expected.at(i)) << i;
    const qint64 k = fresh.keyAt(n / 2);
    // Counting the rows before a key would walk the join: only rows read, or near a place, are found.
    RequestsModel third(*data);
    EXPECT_EQ(third.rowOfKey(k), -1);
    EXPECT_EQ(third.rowNear(k, n / 2 + 60), n / 2);
    EXPECT_EQ(third.rowOfKey(k), n / 2);
}
