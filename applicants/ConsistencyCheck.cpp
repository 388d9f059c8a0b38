#include "applicants/ConsistencyCheck.h"

#include "applicants/CodiceFiscale.h"
#include "data/Database.h"
#include "data/Report.h"
#include "data/Tdm.h"
#include "data/Ui.h"

namespace {

// Rows between two looks at the window events: often enough to repaint, rarely enough to cost nothing.
constexpr int EventsEvery = 4096;

// "dd/mm/yy" straight from the stored "YYYY-MM-DD"; a missing date is the zero date, 30/12/99.
QString shortDate(const QString &iso)
{
    if (iso.size() == 10 && iso.at(4) == QLatin1Char('-') && iso.at(7) == QLatin1Char('-')) {
        const QChar out[8] = {iso.at(8), iso.at(9), QLatin1Char('/'), iso.at(5), iso.at(6), QLatin1Char('/'),
                              iso.at(2), iso.at(3)};
        return QString(out, 8);
    }
    QDate d = QDate::fromString(iso, Qt::ISODate);
    if (!d.isValid())
        d = zeroDate();
    return d.toString(QStringLiteral("dd/MM/yy"));
}

} // namespace

QList<CfProblem> &mtProblemi()
{
    static QList<CfProblem> list;
    return list;
}

int FindCfProblems(Connection &connection)
{
    QList<CfProblem> &list = mtProblemi();
    list.clear();
    Statement q(connection, QString::fromLatin1(CfCheckSql));
    int row = 0;
    while (q.step()) {
        const QString cognome = q.value(0).toString();
        const QString nome = q.value(1).toString();
        const QString sesso = q.value(2).toString();
        const QString dnascita = q.value(3).toString();
        const QString cf = q.value(4).toString();
        const QString computed = ComputeCodiceFiscale(cognome, nome, sesso, shortDate(dnascita), q.value(5).toString());
        if (computed != cf)
            list.append({cognome, nome, cf, sesso, QDate::fromString(dnascita, Qt::ISODate)});
        if (++row % EventsEvery == 0)
            ui().processEvents();
    }
    return int(list.size());
}

ReportData ProblemiReportData()
{
    ReportData data({QStringLiteral("cognome"), QStringLiteral("nome"), QStringLiteral("cf"), QStringLiteral("sesso"),
                     QStringLiteral("dnascita")});
    const QList<CfProblem> &list = mtProblemi();
    data.reserve(int(list.size()));
    for (const CfProblem &p : list)
        data.addRow({p.cognome, p.nome, p.cf, p.sesso, p.dnascita.isValid() ? QVariant(p.dnascita) : QVariant()});
    return data;
}

bool CheckCodiciFiscali()
{
    {
        BusyCursor busy;
        mtProblemi().clear();
        FindCfProblems(dm->Database1.connection());
    }
    if (mtProblemi().isEmpty())
        return false;
    Tdm::ShowMsg(QStringLiteral("Da controlli effettuati sui dati inseriti, sono stati rilevati alcuni problemi sui "
                                "Codici Fiscali. Adesso sarà mostrato un elenco dei soggetti per i quali è stato "
                                "rilevato il problema."));
    Report report(QStringLiteral("problemi"));
    report.setData(ProblemiReportData());
    ShowReport(report, dm->AppPath);
    return true;
}
