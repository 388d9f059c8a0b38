#include "communications/Communications.h"
#include "communications/RequestsModel.h"
#include "communications/gui/CommunicationActions.h"
#include "communications/gui/TdlgDenunce.h"
#include "data/Tdm.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct WindowFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;
    TdlgDenunce::Hooks savedHooks;

    void SetUp() override
    {
        savedHooks = TdlgDenunce::hooks();
        TdlgDenunce::hooks() = TdlgDenunce::Hooks{}; // each test wires what it needs
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
    }
    void TearDown() override
    {
        TdlgDenunce::hooks() = savedHooks;
        data.reset();
        dm = nullptr;
    }
    Connection &sql() { return data->Database1.connection(); }
    qint64 communication(int anno, int progressivo, const QString &stato)
    {
        sql().exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, STATO) VALUES (?,?,?,?)",
                   {anno, progressivo, Communications::description(progressivo, anno), stato});
        const qint64 id = sql().lastInsertId();
        data->ttDENUNCE->refresh();
        data->ttDENUNCE->moveToKey(id);
        return id;
    }
    qint64 request(qint64 denuncia, const QString &cognome, const QString &nome, const QString &numero)
    {
        sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_COGNOME, PERS_NOME) VALUES ('P', ?, ?)", {cognome, nome});
        const qint64 p = sql().lastInsertId();
        sql().exec("INSERT INTO RICHIESTE (ID_DENUNCIA, ID_RICHIEDENTE, CODICE, NUMERO) VALUES (?,?,'07',?)", {denuncia, p, numero});
        return sql().lastInsertId();
    }
    static QToolButton *button(QWidget &w, const char *name) { return w.findChild<QToolButton *>(name); }
    static void clickRow(QTableView *grid, int row, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const QRect r = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, r.center());
    }
    static void shot(QWidget &w, const QString &name)
    {
        QDir().mkpath("/tmp/shots");
        w.grab().save("/tmp/shots/" + name + ".png");
    }
};

} // namespace

TEST_F(WindowFixture, ShowsTheRequestsAndEnablesCommandsByState)
{
    const qint64 d = communication(2010, 1, "A");
    const qint64 bianchi = request(d, "BIANCHI", "ANNA", "11");
    const qint64 verdi = request(d, "VERDI", "LUCA", "22");
    const qint64 rossi = request(d, "ROSSI", "MARIO", "33");
    data->ttRICHIESTE->refresh();

    TdlgDenunce w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "Comunicazione n. 1 / 2010");
    QTableView *grid = w.findChild<QTableView *>("grid1");
    ASSERT_TRUE(grid);
    ASSERT_TRUE(w.findChild<QProgressBar *>("ProgressBar1"));
    QStringList headers;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        headers << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Codice", "Numero", "Cognome", "Nome", "Azienda/Ditta"}));
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->index(0, 2).data().toString(), "VERDI");
    EXPECT_EQ(grid->model()->index(2, 2).data().toString(), "BIANCHI");
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), 2);
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    shot(w, "TdlgDenunce");

    // In "A" with nothing wired: only Elimina, Info and Uscita.
    for (const char *name : {"bNuovaRich", "bEditRich", "bCopiaIn", "bStampa", "bCreaFile", "bTrasmessa"})
        EXPECT_FALSE(button(w, name)->isEnabled()) << name;
    for (const char *name : {"bElimRich", "bInfo", "bUscita"})
        EXPECT_TRUE(button(w, name)->isEnabled()) << name;

    // CTRL adds rows to the selection; Elimina deletes only the focused one.
    clickRow(grid, 0);
    clickRow(grid, 2, Qt::ControlModifier);
    EXPECT_EQ(w.selectedRequestKeys(), QList<qint64>({verdi, bianchi}));
    EXPECT_EQ(w.focusedRequestKey(), bianchi);
    EXPECT_EQ(data->ttRICHIESTE->key(), bianchi);
    sui.answers << true;
    QTest::mouseClick(button(w, "bElimRich"), Qt::LeftButton);
    EXPECT_EQ(sql().scalar("SELECT group_concat(ID_RICHIESTA) FROM RICHIESTE ORDER BY 1").toString(),
              QString("%1,%2").arg(verdi).arg(rossi));
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->currentIndex().row(), 1); // the focus keeps its place
    EXPECT_EQ(data->ttRICHIESTE->key(), rossi);

    QTest::mouseClick(button(w, "bInfo"), Qt::LeftButton);
    EXPECT_EQ(sui.lastText(), "La comunicazione è ancora Aperta");

    w.setBusy(true);
    for (const char *name : {"bElimRich", "bInfo", "bUscita", "bTrasmessa"})
        EXPECT_FALSE(button(w, name)->isEnabled()) << name;
    QTest::keyClick(&w, Qt::Key_Escape);
    w.close();
    EXPECT_TRUE(w.isVisible()); // no closing under a running operation
    w.setBusy(false);
    EXPECT_TRUE(button(w, "bElimRich")->isEnabled());
}

TEST_F(WindowFixture, WiredCommandsRunTheirHooksAndTheStateCommandsMoveTheState)
{
    const qint64 d = communication(2011, 1, "C");
    const qint64 first = request(d, "ROSSI", "MARIO", "1");
    data->ttRICHIESTE->refresh();
    QStringList calls;
    TdlgDenunce::hooks().requestDialog = [&](TdlgDenunce &) {
        TableCursor *r = dm->ttRICHIESTE;
        calls << (r->state() == TableCursor::State::Insert ? "insert" : "edit");
        EXPECT_TRUE(dm->Database1.inTransaction());
        r->setFieldValue("NUMERO", "77");
        r->post();
        dm->Database1.commit();
    };
    TdlgDenunce::hooks().copy = [&](TdlgDenunce &w) { calls << QString("copy %1").arg(w.selectedRequestKeys().size()); };
    TdlgDenunce::hooks().createFile = [&](TdlgDenunce &w) {
        w.progressBar()->setValue(50);
        calls << "file";
    };

    TdlgDenunce w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (const char *name : {"bNuovaRich", "bEditRich", "bCopiaIn", "bCreaFile", "bTrasmessa"})
        EXPECT_TRUE(button(w, name)->isEnabled()) << name;
    EXPECT_FALSE(button(w, "bStampa")->isEnabled());
    EXPECT_FALSE(button(w, "bNonTrasmessa")->isVisible());

    QTest::mouseClick(button(w, "bNuovaRich"), Qt::LeftButton);
    QTableView *grid = w.grid();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_NE(w.focusedRequestKey(), first); // the new request is focused
    EXPECT_EQ(data->ttRICHIESTE->integer("ID_DENUNCIA"), d);
    const int row = w.model()->rowOfKey(first);
    ASSERT_GE(row, 0);
    clickRow(grid, row);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->visualRect(grid->model()->index(row, 1)).center());
    EXPECT_EQ(sql().scalar("SELECT NUMERO FROM RICHIESTE WHERE ID_RICHIESTA = ?", {first}).toString(), "77");
    QTest::mouseClick(button(w, "bCopiaIn"), Qt::LeftButton);
    QTest::mouseClick(button(w, "bCreaFile"), Qt::LeftButton);
    EXPECT_EQ(calls, QStringList({"insert", "edit", "copy 1", "file"}));
    EXPECT_TRUE(sui.texts("error").isEmpty()) << sui.texts("error").join(" | ").toStdString();
    EXPECT_FALSE(dm->Database1.inTransaction());
    EXPECT_EQ(w.progressBar()->value(), 50);

    sui.answers << true;
    QTest::mouseClick(button(w, "bTrasmessa"), Qt::LeftButton);
    EXPECT_EQ(sql().scalar("SELECT STATO FROM DENUNCE WHERE ID_DENUNCIA = ?", {d}).toString(), "T");
    QCoreApplication::processEvents(); // the toolbar lays out its buttons again
    EXPECT_TRUE(button(w, "bNonTrasmessa")->isVisible());
    EXPECT_TRUE(button(w, "bNonTrasmessa")->isEnabled());
    EXPECT_FALSE(button(w, "bTrasmessa")->isVisible());
    EXPECT_TRUE(button(w, "bCopiaIn")->isEnabled());
    shot(w, "TdlgDenunce_trasmessa");
    sui.answers << true;
    QTest::mouseClick(button(w, "bNonTrasmessa"), Qt::LeftButton);
    EXPECT_EQ(sql().scalar("SELECT STATO FROM DENUNCE WHERE ID_DENUNCIA = ?", {d}).toString(), "C");
}

TEST_F(WindowFixture, YearLinkOpensTheNewCommunicationOrRefuses)
{
    QString seen;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *w = qobject_cast<TdlgDenunce *>(modal)) {
            seen = w->windowTitle() + QString(" %1").arg(w->grid()->model()->rowCount());
            w->close();
        }
    });
    CommunicationActions::OpenNewCommunication(nullptr, 2018);
    EXPECT_EQ(seen, "Comunicazione n. 1 / 2018 0");
    EXPECT_EQ(sql().scalar("SELECT ANNO || ' ' || PROGRESSIVO || ' ' || STATO FROM DENUNCE").toString(), "2018 1 A");

    seen.clear();
    QTimer::singleShot(0, [&] {
        if (QApplication::activeModalWidget()) {
            seen = "aperta";
            QApplication::activeModalWidget()->close();
        }
    });
    CommunicationActions::OpenNewCommunication(nullptr, 2018);
    QCoreApplication::processEvents();
    EXPECT_TRUE(seen.isEmpty()); // no window
    EXPECT_EQ(sui.texts("message"),
              QStringList({"Operazione annullata. E' probabile che esiste una comunicazione ancora aperta per l'anno 2018"}));
    EXPECT_EQ(sql().scalar("SELECT count(*) FROM DENUNCE").toInt(), 1);
}

TEST_F(WindowFixture, DoubleClickOnAnEmptyListOpensNothing)
{
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *m = QApplication::activeModalWidget()) {
            opened = true;
            m->close();
        }
    });
    CommunicationActions::OpenCurrentCommunication(nullptr);
    QCoreApplication::processEvents();
    EXPECT_FALSE(opened);
}
