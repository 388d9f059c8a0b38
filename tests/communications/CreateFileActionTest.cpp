#include "communications/gui/TdlgDenunce.h"
#include "tests/communications/TransmissionData.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QDir>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace TransmissionData;

namespace {

struct CreateFileFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;
    TDatiEnte savedEnte = DatiEnte;
    qint64 denuncia = 0;

    void SetUp() override
    {
        folder.addDelivered("delivered/problemi.html");
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
        setEnte();
        denuncia = addDenuncia(*data, 2008, 1);
        addRichiesta(*data, denuncia, addPerson(*data, "ROSSI", "MARIO", "M", QDate(1971, 3, 5), roma(*data)));
        addRichiesta(*data, denuncia, addCompany(*data, "01234567890", "ALFA SERVIZI S.R.L.", roma(*data)));
        addRichiesta(*data, denuncia, addPerson(*data, "BIANCHI", "ANNA", "F", QDate(1980, 6, 1), roma(*data)));
        // Listed by the consistency check: the run stops on its question.
        addPerson(*data, "VERDI", "LUCA", "M", QDate(1980, 1, 1), roma(*data), QString("VRDLCU80A01H501A"));
        select(*data, denuncia);
    }
    void TearDown() override
    {
        data.reset();
        dm = nullptr;
        DatiEnte = savedEnte;
    }
    static QToolButton *button(QWidget &w, const char *name) { return w.findChild<QToolButton *>(name); }
    static void shot(QWidget &w, const QString &name)
    {
        QDir().mkpath("/tmp/shots");
        w.grab().save("/tmp/shots/" + name + ".png");
    }
};

TEST_F(CreateFileFixture, CommandsAreDisabledDuringTheRunAndBackAfterIt)
{
    TdlgDenunce w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(button(w, "bCreaFile")->isEnabled());
    auto *bar = w.findChild<QProgressBar *>("ProgressBar1");
    ASSERT_TRUE(bar);

    QStringList enabledDuringRun;
    bool closedDuringRun = true;
    int barAtEnd = -1;
    sui.answers.enqueue(true);
    sui.onShow = [&](const ScriptedUi::Shown &s) {
        if (s.kind == "question") {
            for (auto *b : w.findChildren<QToolButton *>()) {
                if (b->isEnabled())
                    enabledDuringRun << b->objectName();
            }
            if (w.findChild<QTableView *>("grid1")->isEnabled())
                enabledDuringRun << "grid1";
            w.close();
            QTest::keyClick(&w, Qt::Key_Escape);
            closedDuringRun = !w.isVisible();
            shot(w, "crea-file-durante");
        }
        if (s.kind == "open") {
            barAtEnd = bar->value();
            shot(w, "crea-file-fine");
        }
    };
    QTest::mouseClick(button(w, "bCreaFile"), Qt::LeftButton);
    sui.onShow = nullptr;

    EXPECT_EQ(enabledDuringRun, QStringList());
    EXPECT_FALSE(closedDuringRun);
    EXPECT_EQ(barAtEnd, 3);
    EXPECT_EQ(bar->maximum(), 3);
    EXPECT_TRUE(QFile::exists(folder.file("Trasmissioni/TARVIDO_2008_1.txt")));
    EXPECT_EQ(data->ttDENUNCE->text("STATO"), "C");
    EXPECT_TRUE(button(w, "bUscita")->isEnabled());
    EXPECT_TRUE(button(w, "bCreaFile")->isEnabled());
    EXPECT_TRUE(w.findChild<QTableView *>("grid1")->isEnabled());
    shot(w, "crea-file-dopo");
    EXPECT_TRUE(w.close());
}

TEST_F(CreateFileFixture, CommandsComeBackAfterAFailure)
{
    QDir().mkpath(folder.file("Trasmissioni/TARVIDO_2008_1.txt")); // a folder holds the file's name
    sui.answers.enqueue(true);
    TdlgDenunce w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(button(w, "bCreaFile"), Qt::LeftButton);
    ASSERT_EQ(sui.texts("error").size(), 1);
    EXPECT_TRUE(sui.texts("error").first().startsWith("Impossibile creare il file"));
    EXPECT_EQ(data->ttDENUNCE->text("STATO"), "A");
    EXPECT_TRUE(button(w, "bCreaFile")->isEnabled());
    EXPECT_TRUE(button(w, "bUscita")->isEnabled());
    EXPECT_TRUE(w.close());
}

} // namespace
