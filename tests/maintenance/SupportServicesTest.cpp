#include "data/Globals.h"
#include "maintenance/Regulation.h"
#include "maintenance/SupportMail.h"
#include "maintenance/VersionHistory.h"
#include "tests/support/Printers.h"
#include "tests/support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

TDatiEnte ente(const QString &denominazione, const QString &responsabile)
{
    TDatiEnte e;
    e.Denominazione = denominazione;
    e.Responsabile = responsabile;
    e.Email = QStringLiteral("protocollo@comune.example.it");
    return e;
}

// What the mail client receives: the decoded subject and body lines of the mailto: address.
struct Received
{
    QString to, subject;
    QStringList body;
};

Received decode(const QUrl &url)
{
    const QUrlQuery q(url);
    return {url.path(QUrl::FullyDecoded), q.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
            q.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded).split(QStringLiteral("\r\n"))};
}

TEST(SupportMailTest, SubjectRecipientAndBodyLines)
{
    struct Case
    {
        const char *name;
        QString denominazione, responsabile;
        QString subject;
        QStringList body;
    };
    const Case cases[] = {
        {"with responsible person", "COMUNE DI VALDORA", "ROSSI MARIO", "Messaggio da :COMUNE DI VALDORA",
         {"Prodotto: Tarvido", "Versione: 8.14", "Cliente: COMUNE DI VALDORA", "Responsabile: ROSSI MARIO", "",
          "Inserire qui i Vostri commenti ......."}},
        {"without responsible person", "COMUNE DI VALDORA", "", "Messaggio da :COMUNE DI VALDORA",
         {"Prodotto: Tarvido", "Versione: 8.14", "Cliente: COMUNE DI VALDORA", "", "Inserire qui i Vostri commenti ......."}},
        {"blanks kept, & and accents travel", "  COMUNE D'ACQUÈ & C. ", "", "Messaggio da :  COMUNE D'ACQUÈ & C. ",
         {"Prodotto: Tarvido", "Versione: 8.14", "Cliente:   COMUNE D'ACQUÈ & C. ", "", "Inserire qui i Vostri commenti ......."}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto mail = SupportMail::compose(ente(c.denominazione, c.responsabile), QStringLiteral("help@quorvel.example"));
        ASSERT_TRUE(mail);
        EXPECT_EQ(mail->subject(), c.subject);
        EXPECT_EQ(mail->bodyLines(), c.body);
        EXPECT_EQ(mail->recipientName(), "Assistenza Quorvel");
        EXPECT_EQ(mail->recipientAddress(), "help@quorvel.example");

        const QUrl url = mail->mailtoUrl();
        ASSERT_TRUE(url.isValid());
        EXPECT_EQ(url.scheme(), "mailto");
        const Received r = decode(url);
        EXPECT_EQ(r.to, "Assistenza Quorvel <help@quorvel.example>");
        EXPECT_EQ(r.subject, c.subject);
        EXPECT_EQ(r.body, c.body);
        // Nothing goes to copies.
        EXPECT_FALSE(QUrlQuery(url).hasQueryItem("cc"));
        EXPECT_FALSE(QUrlQuery(url).hasQueryItem("bcc"));
    }
}

TEST(SupportMailTest, BlankDenominationIsRefusedAndNothingIsHandedOver)
{
    for (const QString &blank : {QString(), QStringLiteral("   "), QStringLiteral("\t ")}) {
        ScriptedUi sui;
        SupportMail::send(ente(blank, QStringLiteral("ROSSI")), QStringLiteral("help@quorvel.example"));
        EXPECT_EQ(sui.texts(), QStringList{"Dati dell'Ente non impostati: operazione annullata"});
        EXPECT_EQ(sui.shown.first().kind, "message");
        EXPECT_TRUE(sui.openedUrls.isEmpty());
    }
}

TEST(SupportMailTest, HandsTheMessageToTheMailClientEachTimeAnew)
{
    ScriptedUi sui;
    SupportMail::send(ente(QStringLiteral("COMUNE A"), QStringLiteral("BIANCHI")), QStringLiteral("a@quorvel.example"));
    SupportMail::send(ente(QStringLiteral("COMUNE B"), QString()), QStringLiteral("a@quorvel.example"));
    ASSERT_EQ(sui.openedUrls.size(), 2);
    EXPECT_TRUE(sui.texts("message").isEmpty());
    const Received second = decode(sui.openedUrls.at(1));
    EXPECT_EQ(second.to, "Assistenza Quorvel <a@quorvel.example>");
    EXPECT_EQ(second.subject, "Messaggio da :COMUNE B");
    EXPECT_EQ(second.body.size(), 5) << "nothing of the first request accumulates";

    // No mail client took it: an error for the default error display.
    sui.openUrlResult = false;
    EXPECT_THROW(SupportMail::send(ente(QStringLiteral("COMUNE A"), QString()), QStringLiteral("a@quorvel.example")), std::runtime_error);
}

TEST(RegulationTest, OpensThePdfBesideTheProgramOrSaysWhereToPutIt)
{
    ScriptedUi sui;
    QTemporaryDir dir;
    const QString appPath = dir.path() + QLatin1Char('/');

    EXPECT_FALSE(Regulation::open(appPath));
    ASSERT_EQ(sui.texts("message").size(), 1);
    const QString said = sui.texts("message").first();
    EXPECT_TRUE(said.contains("\"Provvedimento_2_ottobre_2006.pdf\" non è presente")) << said.toStdString();
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators(dir.path()))) << said.toStdString();
    EXPECT_TRUE(sui.openedUrls.isEmpty());

    QFile pdf(appPath + "Provvedimento_2_ottobre_2006.pdf");
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.write("%PDF-1.4\n");
    pdf.close();
    sui.clear();
    EXPECT_TRUE(Regulation::open(appPath));
    EXPECT_EQ(sui.openedUrls, QList<QUrl>{QUrl::fromLocalFile(appPath + "Provvedimento_2_ottobre_2006.pdf")});
    EXPECT_TRUE(sui.texts("message").isEmpty());

    // No viewer for PDF files: the office is told instead of nothing happening.
    sui.openUrlResult = false;
    EXPECT_FALSE(Regulation::open(appPath));
    ASSERT_EQ(sui.texts("message").size(), 1);
    EXPECT_TRUE(sui.texts("message").first().startsWith("Impossibile aprire il documento \"Provvedimento_2_ottobre_2006.pdf\""));
}

TEST(VersionHistoryTest, FiveEntriesOldestFirst)
{
    const QString html = VersionHistory::html();
    const QStringList entries = html.split(QStringLiteral("<br><br>"), Qt::SkipEmptyParts);
    ASSERT_EQ(entries.size(), 5);
    const char *versions[] = {"2.00", "3.00", "4.00", "5.00", "6.00"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(entries.at(i).startsWith(QStringLiteral("<b>Versione %1</b><br>").arg(QLatin1String(versions[i])))) << entries.at(i).toStdString();
        EXPECT_TRUE(entries.at(i).contains(QString::number(2008 + i)));
    }
}

} // namespace
