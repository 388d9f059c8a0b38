#include "data/Globals.h"
#include "data/Tdm.h"
#include "maintenance/gui/ServiceActions.h"
#include "maintenance/gui/TdlgMemo.h"
#include "maintenance/gui/TfrmGuida.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Shots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

struct ServiceFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;
    QWidget mainWindow;

    void SetUp() override
    {
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
        mainWindow.resize(400, 300);
        mainWindow.show();
    }
    void TearDown() override
    {
        data.reset();
        dm = nullptr;
    }
    void copyGuide()
    {
        const QDir src(ProgramFolder::resourcesDir() + QStringLiteral("/delivered/guida"));
        QDir().mkpath(folder.file("guida"));
        for (const QString &f : src.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(src.filePath(f), folder.file("guida/" + f)));
    }
};

TEST_F(ServiceFixture, VersionHistoryIsTheSameWindowEveryTimeAndOkOnlyClosesIt)
{
    QStringList texts;
    QList<TdlgMemo *> seen;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<TdlgMemo *>(QApplication::activeModalWidget());
            ASSERT_TRUE(dlg);
            seen << dlg;
            EXPECT_EQ(dlg->windowTitle(), "Storico delle versioni");
            auto *memo = dlg->findChild<QTextBrowser *>("Memo1");
            ASSERT_TRUE(memo);
            EXPECT_TRUE(memo->isReadOnly());
            texts << memo->toPlainText();
            saveShot(dlg, "version-history");
            auto *ok = dlg->findChild<QPushButton *>("bOK");
            ASSERT_TRUE(ok);
            EXPECT_EQ(ok->text(), "OK");
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        ServiceActions::Storico(&mainWindow);
    }
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen.at(0), seen.at(1));
    EXPECT_EQ(texts.at(0), texts.at(1));
    EXPECT_TRUE(texts.at(0).startsWith("Versione 2.00\n")) << texts.at(0).toStdString();
    EXPECT_TRUE(texts.at(0).contains("Versione 6.00\n"));
    EXPECT_TRUE(sui.shown.isEmpty());
}

TEST_F(ServiceFixture, GuideOpensInItsWindowAndEveryInternalLinkLeadsSomewhere)
{
    copyGuide();
    ServiceActions::Guida(&mainWindow);
    auto *w = mainWindow.findChild<TfrmGuida *>();
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(sui.shown.isEmpty());
    QTextBrowser *b = w->browser();
    EXPECT_TRUE(b->documentTitle().contains("Guida all'uso"));
    QTest::qWait(50);
    saveShot(w, "help-window");

    // Every "#name" the guide links to is an anchor of the page.
    QFile f(folder.file("guida/index.html"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    QStringList missing;
    for (const auto &m : QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(html)) {
        if (!html.contains(QStringLiteral("<a name=\"%1\">").arg(m.captured(1))))
            missing << m.captured(1);
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(' ').toStdString();

    // A link inside the guide moves within it; one outside goes to the desktop.
    emit b->anchorClicked(QUrl(QStringLiteral("#aggiornamento")));
    EXPECT_EQ(b->source().fragment(), "aggiornamento");
    EXPECT_TRUE(b->source().isLocalFile());
    saveShot(w, "help-window-section");
    w->findChild<QPushButton *>("bSommario")->click();
    EXPECT_TRUE(b->source().fragment().isEmpty());
    emit b->anchorClicked(QUrl(QStringLiteral("https://www.agenziaentrate.gov.it/")));
    EXPECT_EQ(sui.openedUrls, QList<QUrl>{QUrl(QStringLiteral("https://www.agenziaentrate.gov.it/"))});
    w->findChild<QPushButton *>("bBrowser")->click();
    ASSERT_EQ(sui.openedUrls.size(), 2);
    EXPECT_EQ(sui.openedUrls.at(1), QUrl::fromLocalFile(folder.file("guida/index.html")));

    // Asked again, the same window comes forward.
    ServiceActions::Guida(&mainWindow);
    EXPECT_EQ(mainWindow.findChildren<TfrmGuida *>().size(), 1);
}

TEST_F(ServiceFixture, MissingGuideAndRegulationAreNamedWithTheirFolder)
{
    ServiceActions::Guida(&mainWindow);
    ServiceActions::Normativa(&mainWindow);
    const QStringList said = sui.texts("message");
    ASSERT_EQ(said.size(), 2);
    const QString where = QDir::toNativeSeparators(QDir::cleanPath(folder.path()));
    EXPECT_EQ(said.at(0), "La guida all'uso non è presente: manca il file \"guida/index.html\" nella cartella del programma:\r" + where);
    EXPECT_TRUE(said.at(1).contains("Provvedimento_2_ottobre_2006.pdf")) << said.at(1).toStdString();
    EXPECT_TRUE(said.at(1).endsWith(where)) << said.at(1).toStdString();
    EXPECT_FALSE(mainWindow.findChild<TfrmGuida *>());
    EXPECT_TRUE(sui.openedUrls.isEmpty());
}

TEST_F(ServiceFixture, SupportRequestGoesToTheConfiguredMailbox)
{
    QFile ini(folder.file("TARVIDO.INI"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[ASSISTENZA]\r\nEMAIL=supporto@ente.example\r\n");
    ini.close();
    const TDatiEnte saved = DatiEnte;
    DatiEnte.Denominazione = QStringLiteral("COMUNE DI VALDORA");
    DatiEnte.Responsabile = QString();
    ServiceActions::Scrivici(&mainWindow);
    DatiEnte = saved;
    ASSERT_EQ(sui.openedUrls.size(), 1);
    EXPECT_EQ(sui.openedUrls.first().path(QUrl::FullyDecoded), "Assistenza Quorvel <supporto@ente.example>");
    EXPECT_EQ(QUrlQuery(sui.openedUrls.first()).queryItemValue("subject", QUrl::FullyDecoded), "Messaggio da :COMUNE DI VALDORA");
}

} // namespace
