#pragma once

// The program's report engine.
//
// Templates are HTML files beside the program, named after the report: "denuncia.html",
// "richiedenti.html", "problemi.html". The engine fills a template with the report's variables and
// data set, lays it out with Qt's rich-text engine on A4 pages and paints the pages on a preview,
// a printer or a PDF file.
//
// Template format:
// - Any HTML that Qt's rich-text engine understands (tables, <thead> rows that repeat on every page,
//   a <style> block with CSS). Give font sizes in pt, not px, so that they print at the same size
//   on every device. Long tables lay out several times faster without "border-collapse" and with
//   plain selectors (td, th, td.cf) than with descendant ones (table.x td).
// - {{NAME}} is replaced by the value of the report variable NAME (names are matched without regard
//   to case; an unknown name gives an empty text). Values are escaped as HTML.
// - The rows band: the part between <!--RIGHE--> and <!--/RIGHE--> is repeated once for every row of
//   the data set (none when it is empty). Inside it {{FIELD}} is the row's field of that name, and
//   when the data set has no such field, the variable of that name. Put the markers around the
//   <tr>…</tr> of a table to list the rows in a table. Only the first band counts.
// - Built-in names: {{DATA_STAMPA}} the printing date, {{N_RIGHE}} the number of rows of the data set,
//   and inside the band {{RIGA}} the row's number counted from 1.
// - Formatting: texts as they are; whole numbers in plain decimal; dates as dd/MM/yyyy, or as the
//   pattern after a bar: {{DATA_INIZIO|dd.MM.yy}} (QDate's pattern letters); a date that is missing or
//   not later than 30/12/1899 prints as an empty text.
// - <title> names the preview window. <meta name="orientamento" content="orizzontale"> prints the
//   pages in landscape (portrait otherwise).
// - The engine adds at the foot of every page the printing date and "Pagina N di M".

#include "data/ReportData.h"

#include <QDate>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QVariant>
#include <utility>

class QPagedPaintDevice;

class Report
{
public:
    // name: the template's base name ("problemi").
    explicit Report(const QString &name);

    QString name() const { return m_name; }
    // name + ".html"
    QString templateFileName() const;
    // The template beside the program: appPath + templateFileName().
    QString templatePath(const QString &appPath) const;

    // Variables keep the order in which they were first set.
    void clearVariables() { m_variables.clear(); }
    void setVariable(const QString &name, const QVariant &value);
    QVariant variable(const QString &name) const;
    const QList<std::pair<QString, QVariant>> &variables() const { return m_variables; }

    void setData(ReportData data) { m_data = std::move(data); }
    const ReportData &data() const { return m_data; }

    // The date printed on the pages; today unless set.
    void setPrintDate(const QDate &date) { m_printDate = date; }
    QDate printDate() const;

    // Reads the template file. False, with *error naming the file, when it is missing or unreadable;
    // the template held before is dropped either way, so nothing stale can be shown.
    bool loadTemplate(const QString &path, QString *error);
    // The template from a text (tests, previews of a template being written).
    void setTemplateText(const QString &text);
    bool hasTemplate() const { return m_loaded; }
    QString templateSource() const { return m_source; }

    // The template filled with the variables and the rows.
    QString html() const;
    // The template's <title>, or the report's name.
    QString title() const;
    QPageLayout pageLayout() const;

    // Lays the report out on the device's pages and paints them, with the foot line on each page.
    // The device's page layout must already be set (pageLayout()). Returns the number of pages.
    int render(QPagedPaintDevice *device) const;
    // Writes the report as a PDF file; raises a DataError naming the file when it cannot be written.
    void exportPdf(const QString &path) const;

private:
    QString m_name;
    QString m_source;
    QString m_templateText;
    bool m_loaded = false;
    QList<std::pair<QString, QVariant>> m_variables;
    ReportData m_data;
    QDate m_printDate;
};

// Loads the report's template from the program folder and shows the report in the preview through
// the Ui. A missing or unreadable template is reported with a message naming the file, and no preview
// is shown. True when the preview was shown.
bool ShowReport(Report &report, const QString &appPath);
