#include "communications/Communications.h"
#include "communications/RequestCopy.h"
#include "communications/RequestsModel.h"
#include "communications/TransmissionFile.h"
#include "communications/gui/CopyPrintActions.h"
#include "communications/gui/TdlgDenunce.h"
#include "communications/gui/TdlgSelDenuncia.h"
#include "data/Tdm.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Shots.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct RecordingProgress final : TransmissionProgress
{
    int maximum = -1;
    QList<int> values;
    void setMaximum(int m) override { maximum = m; }
    void setValue(int v) override { values << v; }
};

struct CopyFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;
    qint64 source = 0;
    qint64 other = 0;
    QList<qint64> requests;

    void SetUp() override
    {
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
        other = addCommunication(2010, 2, "A");
        addCommunication(2011, 1, "C");
        source = addCommunication(2010, 1, "C", "/tmp/TARVIDO_2010_1.txt");
        const qint64 rossi = addApplicant("P", "ROSSI", QVariant());
        const qint64 acme = addApplicant("A", QVariant(), "ACME SRL");
        requests << addRequest(source, rossi, "01", "000123", "2010-01-15", "2010-12-31");
        requests << addRequest(source, acme, "07", "4567", "2010-03-01", QVariant());
        requests << addRequest(source, QVariant(), "12", "89", QVariant(), "2011-06-30");
        requests << addRequest(source, rossi, "03", "555", "2010-05-05", "2010-05-06");
        data->ttDENUNCE->moveToKey(source);
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
    qint64 addApplicant(const QString &tipo, const QVariant &cognome, const QVariant &denominazione)
    {
        sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_COGNOME, DENOMINAZIONE) VALUES (?,?,?)",
                   {tipo, cognome, denominazione});
        return sql().lastInsertId();
    }
    qint64 addRequest(qint64 denuncia, const QVariant &richiedente, const QString &codice, const QVariant &numero,
                      const QVariant &inizio, const QVariant &fine)
    {
        sql().exec("INSERT INTO RICHIESTE (ID_DENUNCIA, ID_RICHIEDENTE, CODICE, NUMERO, DATA_INIZIO, DATA_FINE, "
                   "DATA_CREAZIONE, NUM_TRASM, PADRE) VALUES (?,?,?,?,?,?,'2010-01-01',1,0)",
                   {denuncia, richiedente, codice, numero, inizio, fine});
        return sql().lastInsertId();
    }
    // Every stored value of the requests of a communication, one text per row, by key.
    QStringList rowsOf(qint64 denuncia)
    {
        QStringList out;
        Statement q(sql(), "SELECT ID_RICHIEDENTE, CODICE, NUMERO, DATA_INIZIO, DATA_FINE, DATA_CREAZIONE, NUM_TRASM, "
                           "PADRE FROM RICHIESTE WHERE ID_DENUNCIA = ? ORDER BY ID_RICHIESTA");
        q.bind(1, denuncia);
        while (q.step()) {
            QStringList values;
            for (int i = 0; i < 8; ++i)
                values << (q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
            out << values.join('|');
        }
        return out;
    }
    QStringList communications()
    {
        QStringList out;
        Statement q(sql(), "SELECT ID_DENUNCIA, STATO, COALESCE(NOME_FILE, '') FROM DENUNCE ORDER BY ID_DENUNCIA");
        while (q.step())
            out << q.value(0).toString() + '|' + q.value(1).toString() + '|' + q.value(2).toString();
        return out;
    }
    bool run(const QList<qint64> &selected, std::optional<qint64> destination, RecordingProgress *progress,
             int *picks = nullptr)
    {
        bool copied = false;
        guarded([&] {
            copied = RequestCopy::CopiaIn(selected, [&] {
                if (picks)
                    ++*picks;
                return destination;
            }, progress);
        });
        return copied;
    }
};

} // namespace

TEST_F(CopyFixture, RefusesAnOpenSourceAnEmptySelectionAndACancelledPicker)
{
    const QStringList before = rowsOf(source) + rowsOf(other);
    int picks = 0;

    data->ttDENUNCE->moveToKey(other); // "A"
    EXPECT_FALSE(run({requests.at(0)}, other, nullptr, &picks));
    EXPECT_EQ(sui.texts(), QStringList{"Impossibile copiare le richieste da una comunicazione ancora Aperta in "
                                       "una'altra comunicazione"});
    EXPECT_EQ(sui.shown.first().kind, "message");

    sui.clear();
    data->ttDENUNCE->moveToKey(source);
    EXPECT_FALSE(run({}, other, nullptr, &picks));
    EXPECT_EQ(sui.texts(), QStringList{"Non vi sono richieste selezionate. Per selezionare una richiesta cliccare "
                                       "sulla riga corrispondente tenendo premuto il tasto CTRL"});
    EXPECT_EQ(picks, 0);

    sui.clear();
    RecordingProgress progress;
    EXPECT_FALSE(run({requests.at(0)}, std::nullopt, &progress, &picks));
    EXPECT_EQ(picks, 1);
    EXPECT_TRUE(sui.texts().isEmpty());
    EXPECT_TRUE(progress.values.isEmpty());
    EXPECT_EQ(sui.maxBusyDepth, 0);
    EXPECT_EQ(rowsOf(source) + rowsOf(other), before);
}

TEST_F(CopyFixture, CopiesTheSelectedRequestsInOneRunAndLeavesTheOriginals)
{
    const QStringList originals = rowsOf(source);
    const QStringList states = communications();
    data->ttRICHIESTE->moveToKey(requests.at(1)); // the grid's focused row
    RecordingProgress progress;

    // The selection's order, not the grid's.
    ASSERT_TRUE(run({requests.at(2), requests.at(0), requests.at(1)}, other, &progress));
    EXPECT_EQ(sui.texts(), QStringList{"Operazione completata. Le richieste sono state copiate nella comunicazione "
                                       "selezionata"});
    const QString rossi = QString::number(sql().scalar("SELECT ID_RICHIEDENTE FROM RICHIEDENTI WHERE PERS_COGNOME = "
                                                       "'ROSSI'").toLongLong());
    const QString acme = QString::number(sql().scalar("SELECT ID_RICHIEDENTE FROM RICHIEDENTI WHERE DENOMINAZIONE = "
                                                      "'ACME SRL'").toLongLong());
    // Missing dates become the zero date, leading zeros go, the defaults of a new request are not applied.
    EXPECT_EQ(rowsOf(other), (QStringList{"NULL|12|89|1899-12-30|2011-06-30|NULL|NULL|NULL",
                                          rossi + "|01|123|2010-01-15|2010-12-31|NULL|NULL|NULL",
                                          acme + "|07|4567|2010-03-01|1899-12-30|NULL|NULL|NULL"}));
    EXPECT_EQ(rowsOf(source), originals);
    EXPECT_EQ(communications(), states);
    EXPECT_FALSE(data->Database1.inTransaction());

    EXPECT_EQ(progress.maximum, 3);
    EXPECT_EQ(progress.values, (QList<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ(sui.busyDepth, 0);
    EXPECT_GT(sui.maxBusyDepth, 0);
    EXPECT_EQ(data->ttRICHIESTE->key(), requests.at(1));
    EXPECT_EQ(data->ttRICHIESTE->recordCount(), 4);

    // Copying again makes second copies: nothing checks for duplicates.
    sui.clear();
    ASSERT_TRUE(run({requests.at(3)}, other, nullptr));
    EXPECT_EQ(rowsOf(other).size(), 4);
}

TEST_F(CopyFixture, NumbersLoseTheirLeadingZerosWhateverTheirLength)
{
    const struct
    {
        const char *stored;
        const char *copied;
    } cases[] = {{"000123", "123"},           {"", ""},     {"0000", "0"},
                 {"1234567890123456", "1234567890123456"}, {"4294967296", "4294967296"},
                 {" 42 ", "42"},              {"7", "7"}};
    for (const auto &c : cases)
        EXPECT_EQ(RequestCopy::copiedNumber(c.stored), c.copied) << c.stored;
    for (const char *bad : {"12A", "-5", "1.5", "12 34"})
        EXPECT_THROW(RequestCopy::copiedNumber(bad), DataError) << bad;

    // Through a run: an empty number and one beyond 32 bits copy like any other.
    const qint64 empty = addRequest(source, QVariant(), "01", "", "2010-01-01", "2010-02-01");
    const qint64 longer = addRequest(source, QVariant(), "01", "0009876543210123", "2010-01-01", "2010-02-01");
    const qint64 none = addRequest(source, QVariant(), "01", QVariant(), "2010-01-01", "2010-02-01");
    ASSERT_TRUE(run({empty, longer, none}, other, nullptr)) << sui.texts().join('\n').toStdString();
    Statement q(sql(), "SELECT NUMERO FROM RICHIESTE WHERE ID_DENUNCIA = ? ORDER BY ID_RICHIESTA");
    q.bind(1, other);
    QStringList numbers;
    while (q.step())
        numbers << (q.value(0).isNull() ? "NULL" : "'" + q.value(0).toString() + "'");
    EXPECT_EQ(numbers, (QStringList{"''", "'9876543210123'", "NULL"}));
}

TEST_F(CopyFixture, AFailedRunLeavesNothingAndSaysSo)
{
    const qint64 bad = addRequest(source, QVariant(), "01", "12A", "2010-01-01", "2010-02-01");
    const QStringList originals = rowsOf(source);
    data->ttRICHIESTE->moveToKey(requests.at(3));
    RecordingProgress progress;

    // Two copies are written before the bad number stops the run.
    EXPECT_FALSE(run({requests.at(0), requests.at(1), bad, requests.at(2)}, other, &progress));
    ASSERT_EQ(sui.shown.size(), 2);
    EXPECT_EQ(sui.shown.at(0).kind, "message");
    EXPECT_EQ(sui.shown.at(0).text, "Si è verificato un errore durante la copia. L'operazione è stata annullata.");
    EXPECT_EQ(sui.shown.at(1).kind, "error");
    EXPECT_TRUE(sui.shown.at(1).text.contains("12A")) << sui.shown.at(1).text.toStdString();

    EXPECT_TRUE(rowsOf(other).isEmpty());
    EXPECT_EQ(rowsOf(source), originals);
    EXPECT_FALSE(data->Database1.inTransaction());
    EXPECT_EQ(progress.maximum, 4);
    EXPECT_EQ(progress.values, (QList<int>{0, 1, 2, 0}));
    EXPECT_EQ(sui.busyDepth, 0);
    EXPECT_EQ(data->ttRICHIESTE->key(), requests.at(3));

    // A request gone since it was selected fails the same way.
    sui.clear();
    sql().exec("DELETE FROM RICHIESTE WHERE ID_RICHIESTA = ?", {requests.at(2)});
    EXPECT_FALSE(run({requests.at(0), requests.at(2)}, other, nullptr));
    EXPECT_EQ(sui.texts("message"),
              QStringList{"Si è verificato un errore durante la copia. L'operazione è stata annullata."});
    EXPECT_EQ(sui.texts("error").size(), 1);
    EXPECT_TRUE(rowsOf(other).isEmpty());
}

TEST_F(CopyFixture, PickerListsTheOtherCommunicationsOfTheYear)
{
    addCommunication(2010, 3, "T");
    addCommunication(2009, 4, "C");
    data->ttDENUNCE->moveToKey(source);
    const auto list = RequestCopy::destinations(sql(), 2010, source);
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.at(0).id, other);
    EXPECT_EQ(list.at(0).progressivo, 2);
    EXPECT_EQ(list.at(1).descrizione, "Comunicazione n. 3 / 2010");
    EXPECT_EQ(list.at(1).anno, 2010);

    // Driven as the user would: the message first, then the list on the highest number.
    TdlgSelDenuncia picker;
    int seen = -1;
    QString current;
    QTimer::singleShot(0, &picker, [&] {
        seen = picker.GridSel->model()->rowCount();
        current = picker.GridSel->currentIndex().siblingAtColumn(1).data().toString();
        EXPECT_EQ(picker.windowTitle(), "Selezione Denuncia");
        EXPECT_EQ(picker.GridSel->model()->headerData(0, Qt::Horizontal).toString(), "Annualità");
        EXPECT_EQ(picker.GridSel->model()->headerData(1, Qt::Horizontal).toString(), "Descrizione");
        saveShot(&picker, "TdlgSelDenuncia");
        QTest::mouseClick(picker.findChild<QPushButton *>("bSeleziona"), Qt::LeftButton);
    });
    EXPECT_EQ(picker.exec(), QDialog::Accepted);
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(current, "Comunicazione n. 3 / 2010");
    EXPECT_EQ(picker.DestinationId, list.at(1).id);
    EXPECT_EQ(sui.texts(), QStringList{"Selezionare la denuncia di destinazione, ovvero la denuncia nella quale\r"
                                       " copiare le richieste selezionate."});
    EXPECT_EQ(picker.GridSel->model()->rowCount(), 0); // the query is closed with the picker

    // "Annulla".
    QTimer::singleShot(0, &picker, [&] { QTest::mouseClick(picker.findChild<QPushButton *>("bAnnulla"), Qt::LeftButton); });
    EXPECT_EQ(picker.exec(), QDialog::Rejected);
    EXPECT_EQ(picker.DestinationId, 0);
}

TEST_F(CopyFixture, PickerWithNothingToChooseCanOnlyBeCancelled)
{
    data->ttDENUNCE->locate(QStringLiteral("ANNO"), 2011);
    EXPECT_TRUE(RequestCopy::destinations(sql(), 2011, data->ttDENUNCE->key()).isEmpty());
    TdlgSelDenuncia picker;
    bool stillOpen = false;
    QTimer::singleShot(0, &picker, [&] {
        EXPECT_EQ(picker.GridSel->model()->rowCount(), 0);
        QTest::mouseClick(picker.findChild<QPushButton *>("bSeleziona"), Qt::LeftButton);
        stillOpen = picker.isVisible();
        QTest::mouseClick(picker.findChild<QPushButton *>("bAnnulla"), Qt::LeftButton);
    });
    EXPECT_EQ(picker.exec(), QDialog::Rejected);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(sui.texts(), QStringList{"Non vi sono denuncie in cui copiare la richiesta selezionata.\rE' necessario "
                                       "creare una nuova denuncia della stesssa annualità di quella corrente."});
}

TEST_F(CopyFixture, TheButtonRunsThePickerTheBarAndTheSelection)
{
    QWidget window;
    QProgressBar bar(&window);
    bar.setValue(0);
    QList<bool> busy;
    int cleared = 0;
    QTimer::singleShot(0, &window, [&] {
        auto *picker = qobject_cast<TdlgSelDenuncia *>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        QTest::mouseClick(picker->bSeleziona, Qt::LeftButton);
    });
    sui.clear();
    CopyPrintActions::CopySelected(&window, {requests.at(0), requests.at(3)}, &bar, [&](bool b) { busy << b; },
                                   [&] { ++cleared; });
    EXPECT_EQ(sui.texts().last(), "Operazione completata. Le richieste sono state copiate nella comunicazione "
                                  "selezionata");
    EXPECT_EQ(rowsOf(other).size(), 2);
    EXPECT_EQ(busy, (QList<bool>{true, false}));
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(bar.maximum(), 2);
    EXPECT_EQ(bar.value(), 0);

    // A failed run keeps the selection and shows the error after the copy's message.
    const qint64 bad = addRequest(source, QVariant(), "01", "X", QVariant(), QVariant());
    sui.clear();
    busy.clear();
    QTimer::singleShot(0, &window, [&] {
        if (auto *picker = qobject_cast<TdlgSelDenuncia *>(QApplication::activeModalWidget()))
            picker->Seleziona();
    });
    CopyPrintActions::CopySelected(&window, {bad}, &bar, [&](bool b) { busy << b; }, [&] { ++cleared; });
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(busy, (QList<bool>{true, false}));
    EXPECT_EQ(sui.texts("error").size(), 1);
    EXPECT_EQ(rowsOf(other).size(), 2);
}

TEST_F(CopyFixture, CopiaInOfTheCommunicationWindowCopiesItsSelection)
{
    data->ttRICHIESTE->refresh();
    TdlgDenunce w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto *copia = w.findChild<QToolButton *>("bCopiaIn");
    ASSERT_TRUE(copia && copia->isEnabled());
    QTableView *grid = w.grid();
    auto click = [&](qint64 key, Qt::KeyboardModifiers mods) {
        const QRect r = grid->visualRect(grid->model()->index(w.model()->rowOfKey(key), 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, r.center());
    };
    click(requests.at(1), Qt::NoModifier);
    click(requests.at(2), Qt::ControlModifier);
    ASSERT_EQ(w.selectedRequestKeys().size(), 2);
    bool busyDuringPick = true;
    QTimer::singleShot(0, &w, [&] {
        auto *picker = qobject_cast<TdlgSelDenuncia *>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        busyDuringPick = !copia->isEnabled();
        QTest::mouseClick(picker->bSeleziona, Qt::LeftButton);
    });
    QTest::mouseClick(copia, Qt::LeftButton);
    EXPECT_EQ(sui.texts().last(),
              "Operazione completata. Le richieste sono state copiate nella comunicazione selezionata");
    EXPECT_EQ(rowsOf(other).size(), 2);
    EXPECT_FALSE(busyDuringPick);
    EXPECT_TRUE(w.selectedRequestKeys().isEmpty());
    EXPECT_EQ(w.progressBar()->value(), 0);
    EXPECT_TRUE(copia->isEnabled());
    EXPECT_EQ(w.model()->rowCount(), 4); // the source is as it was
}
