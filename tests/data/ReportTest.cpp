#include "data/Report.h"
#include "data/gui/ReportPreview.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000))
        return QString();
    // Compatibility forms undo the typographic ligatures ("ﬁ").
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

Report sample()
{
    Report r("prova");
    r.setTemplateText("<html><head><title>Elenco di {{ENTE}}</title></head><body>"
                      "<h1>{{ENTE}}</h1><p>{{N_RIGHE}} righe al {{DATA_STAMPA}}</p><table>"
                      "<!--RIGHE--><tr><td>{{RIGA}}</td><td>{{nome}}</td><td>{{DATA}}</td><td>{{data|yyyy}}</td>"
                      "<td>{{ente}}</td><td>{{sconosciuto}}</td></tr><!--/RIGHE-->"
                      "</table><p>fine {{Ente}}</p></body></html>");
    r.setVariable("ENTE", "COMUNE DI <PROVA> & C.");
    ReportData d({"NOME", "data"});
    d.addRow({"ROSSI", QDate(1971, 3, 5)});
    d.addRow({"BIANCHI", QVariant()});
    r.setData(d);
    r.setPrintDate(QDate(2008, 2, 29));
    return r;
}

TEST(Report, FillsVariablesAndRepeatsTheBand)
{
    const Report r = sample();
    const QString esc = "COMUNE DI &lt;PROVA&gt; &amp; C.";
    EXPECT_EQ(r.html(), "<html><head><title>Elenco di " + esc + "</title></head><body><h1>" + esc
                            + "</h1><p>2 righe al 29/02/2008</p><table>"
                              "<tr><td>1</td><td>ROSSI</td><td>05/03/1971</td><td>1971</td><td>" + esc + "</td><td></td></tr>"
                              "<tr><td>2</td><td>BIANCHI</td><td></td><td></td><td>" + esc + "</td><td></td></tr>"
                              "</table><p>fine " + esc + "</p></body></html>");
    EXPECT_EQ(r.title(), "Elenco di COMUNE DI <PROVA> & C.");

    Report empty = sample();
    empty.setData(ReportData({"NOME"}));
    EXPECT_FALSE(empty.html().contains("<tr>"));
    EXPECT_TRUE(empty.html().contains("<p>0 righe al"));
}

TEST(Report, MissingOrEmptyTemplateIsNamedAndDropsTheOldOne)
{
    QTemporaryDir dir;
    Report r("problemi");
    const QString path = r.templatePath(dir.path());
    EXPECT_EQ(path, QDir(dir.path()).filePath("problemi.html"));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<p>{{X}} \xe8</p>"); // a Windows editor's code page still reads
    f.close();
    QString error;
    ASSERT_TRUE(r.loadTemplate(path, &error));
    r.setVariable("x", "1");
    EXPECT_EQ(r.html(), "<p>1 è</p>");

    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(r.loadTemplate(path, &error));
    EXPECT_EQ(error, "Il modello di stampa \"" + QDir::toNativeSeparators(path) + "\" è vuoto.");
    EXPECT_FALSE(r.hasTemplate());
    EXPECT_TRUE(r.html().isEmpty());

    QFile::remove(path);
    EXPECT_FALSE(r.loadTemplate(path, &error));
    EXPECT_EQ(error, "Il modello di stampa \"" + QDir::toNativeSeparators(path) + "\" non è stato trovato.");

    ScriptedUi sui;
    EXPECT_FALSE(ShowReport(r, dir.path()));
    EXPECT_EQ(sui.texts(), QStringList{error});
    EXPECT_TRUE(sui.reports.isEmpty());
}

TEST(Report, PdfHasEveryRowAndTheFootOfEachPage)
{
    QTemporaryDir dir;
    Report r("problemi");
    QString error;
    ASSERT_TRUE(r.loadTemplate(ProgramFolder::resourcesDir() + "/delivered/problemi.html", &error)) << error.toStdString();
    ReportData d({"cognome", "nome", "cf", "sesso", "dnascita"});
    for (int i = 0; i < 120; ++i)
        d.addRow({QString("COGNOME%1").arg(i, 3, 10, QChar('0')), "NOME", "RSSMRA71C05H501Z", "M", QDate(1971, 3, 5)});
    r.setData(d);
    r.setPrintDate(QDate(2008, 2, 29));
    const QString pdf = dir.filePath("problemi.pdf");
    r.exportPdf(pdf);
    const QString text = pdfText(pdf);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains("Codici Fiscali da verificare"));
    EXPECT_TRUE(text.contains("COGNOME000"));
    EXPECT_TRUE(text.contains("COGNOME119"));
    EXPECT_TRUE(text.contains("Stampato il 29/02/2008"));
    EXPECT_TRUE(text.contains("Pagina 1 di "));
    EXPECT_TRUE(text.contains("Pagina 2 di ")); // 120 rows do not fit on one page
    EXPECT_EQ(text.count("Data di nascita"), text.count("Stampato il")); // the heading repeats

    EXPECT_THROW(r.exportPdf(dir.filePath("manca/x.pdf")), std::exception);
}

TEST(Report, PreviewSavesPdfAndCloses)
{
    ScriptedUi sui;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("copia");
    sui.fileNames.enqueue(pdf);
    ReportPreview preview(sample());
    EXPECT_EQ(preview.windowTitle(), "Elenco di COMUNE DI <PROVA> & C.");
    preview.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(preview.view()->pageCount(), 1);
    preview.findChild<QAction *>("actSalvaPdf")->trigger();
    EXPECT_TRUE(pdfText(pdf + ".pdf").contains("BIANCHI"));
    ASSERT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].kind, "save");
    preview.findChild<QAction *>("actChiudi")->trigger();
    EXPECT_FALSE(preview.isVisible());
}

} // namespace
