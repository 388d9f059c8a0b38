#include "applicants/ApplicantSelection.h"
#include "applicants/ApplicantSelectionModel.h"
#include "applicants/gui/TdlgRicerca.h"
#include "applicants/gui/TdlgSeleziona.h"
#include "tests/applicants/RichiestaTestSupport.h"
#include "tests/support/Shots.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

struct SearchDialogFixture : RegisterFixture
{
    qint64 rossi = 0;
    void SetUp() override
    {
        RegisterFixture::SetUp();
        rossi = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
        person("RSSNNA75B41F205X", "ROSSETTI", "ANNA");
        person("BNCRSO60C45L219K", "BIANCHI", "ROSA");
        company("01234567890", "ROSSINI IMPIANTI S.R.L.");
        company("09876543210", "ACME S.P.A.");
    }
    template <typename T>
    static T *child(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void doubleClickRow(QTableView *grid, int row)
    {
        const QRect rect = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }
};

} // namespace

TEST_F(SearchDialogFixture, SearchDialogFindsCountsClearsAndOpensTheFoundApplicant)
{
    ScriptedApplicantDialogs dialogs;
    TdlgRicerca dlg(dialogs);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.windowTitle(), "Ricerca in anagrafica");
    auto *cognome = child<QLineEdit>(&dlg, "eCognome");
    auto *codice = child<QLineEdit>(&dlg, "eCodFis");
    auto *trovati = child<QLabel>(&dlg, "lblTrovati");
    auto *grid = child<QTableView>(&dlg, "gridRicerca");

    QTest::mouseClick(child<QPushButton>(&dlg, "bCerca"), Qt::LeftButton);
    EXPECT_EQ(sui.texts("message"), QStringList{"Compilare almeno un campo (anche parzialmente)."});
    EXPECT_EQ(trovati->text(), "");

    QTest::keyClicks(cognome, "ros");
    EXPECT_EQ(cognome->text(), "ROS");
    QTest::keyClick(cognome, Qt::Key_Return); // "Cerca" is the default button
    EXPECT_EQ(trovati->text(), "Nominativi trovati: 3");
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->data(grid->model()->index(1, 1)).toString(), "ROSSI MARIO");
    saveShot(&dlg, "ricerca");

    dialogs.steps << [] {
        dm->ttRICHIEDENTI->setFieldValue("PERS_NOME", "MARIO LUIGI");
        return true;
    };
    doubleClickRow(grid, 1);
    EXPECT_EQ(dialogs.calls, QStringList{"persona"});
    EXPECT_EQ(sql().scalar("SELECT PERS_NOME FROM RICHIEDENTI WHERE ID_RICHIEDENTE = ?", {rossi}).toString(), "MARIO LUIGI");
    // The result is not refreshed afterwards.
    EXPECT_EQ(grid->model()->data(grid->model()->index(1, 1)).toString(), "ROSSI MARIO");

    QTest::keyClicks(codice, "0");
    QTest::mouseClick(child<QPushButton>(&dlg, "bCerca"), Qt::LeftButton);
    EXPECT_EQ(trovati->text(), "Nominativi trovati: 1");
    QTest::mouseClick(child<QPushButton>(&dlg, "bPulisci"), Qt::LeftButton);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    doubleClickRow(grid, 0); // on an empty result: nothing
    EXPECT_EQ(dialogs.calls.size(), 1);

    // Opening again starts from empty boxes and an empty result.
    QTest::mouseClick(child<QPushButton>(&dlg, "bCerca"), Qt::LeftButton);
    dlg.hide();
    dlg.show();
    EXPECT_EQ(cognome->text(), "");
    EXPECT_EQ(codice->text(), "");
    EXPECT_EQ(trovati->text(), "");
    EXPECT_EQ(grid->model()->rowCount(), 0);
}

TEST_F(SearchDialogFixture, SelectionDialogChoosesOrLeavesZero)
{
    TdlgSeleziona dlg;
    auto run = [&](std::function<void()> user) {
        QTimer::singleShot(0, &dlg, [&] {
            if (!QTest::qWaitForWindowExposed(&dlg)) {
                dlg.done(QDialog::Rejected);
                return;
            }
            user();
        });
        Ricerca.ID = 99;
        ApplicantSelection::SelectRichiedente(dlg);
        EXPECT_EQ(dlg.list(), nullptr); // the list is dropped on closing
        return Ricerca.ID;
    };

    // The close box and "Annulla" leave 0.
    EXPECT_EQ(run([&] { dlg.close(); }), 0);
    EXPECT_EQ(run([&] { QTest::mouseClick(child<QPushButton>(&dlg, "bAnnulla"), Qt::LeftButton); }), 0);

    // "Seleziona" takes the current row; the list is in name order.
    EXPECT_EQ(run([&] {
                  auto *grid = child<QTableView>(&dlg, "gridSel");
                  EXPECT_EQ(dlg.windowTitle(), "Selezione...");
                  EXPECT_EQ(grid->model()->data(grid->model()->index(0, 1)).toString(), "ACME S.P.A.");
                  grid->selectRow(2);
                  saveShot(&dlg, "seleziona");
                  QTest::mouseClick(child<QPushButton>(&dlg, "bSeleziona"), Qt::LeftButton);
              }),
              sql().scalar("SELECT ID_RICHIEDENTE FROM RICHIEDENTI WHERE PERS_COGNOME = 'ROSSETTI'").toLongLong());
    // A double click too.
    EXPECT_EQ(run([&] { doubleClickRow(child<QTableView>(&dlg, "gridSel"), 3); }), rossi);

    // On an empty register "Seleziona" does nothing: the dialog stays until "Annulla".
    sql().exec("DELETE FROM RICHIEDENTI");
    bool stillOpen = false;
    EXPECT_EQ(run([&] {
                  QTest::mouseClick(child<QPushButton>(&dlg, "bSeleziona"), Qt::LeftButton);
                  stillOpen = dlg.isVisible();
                  dlg.reject();
              }),
              0);
    EXPECT_TRUE(stillOpen);
}
