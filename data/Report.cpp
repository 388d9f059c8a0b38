#include "data/Report.h"

#include "data/DataError.h"
#include "data/Globals.h"
#include "data/Ui.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

const QRegularExpression &placeholderPattern()
{
    static const QRegularExpression re(QStringLiteral(R"(\{\{\s*([A-Za-z_][A-Za-z0-9_]*)\s*(?:\|([^}]*))?\}\})"));
    return re;
}

const QRegularExpression &bandStartPattern()
{
    static const QRegularExpression re(QStringLiteral(R"(<!--\s*RIGHE\s*-->)"), QRegularExpression::CaseInsensitiveOption);
    return re;
}

const QRegularExpression &bandEndPattern()
{
    static const QRegularExpression re(QStringLiteral(R"(<!--\s*/RIGHE\s*-->)"), QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString formatValue(const QVariant &value, const QString &format)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        if (!isGivenDate(d))
            return QString();
        return d.toString(format.isEmpty() ? QStringLiteral("dd/MM/yyyy") : format);
    }
    case QMetaType::QDateTime:
        return value.toDateTime().toString(format.isEmpty() ? QStringLiteral("dd/MM/yyyy hh:mm") : format);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Sì") : QStringLiteral("No");
    case QMetaType::Double:
        return QString::number(value.toDouble());
    default:
        return value.toString();
    }
}

// A template piece: literal text, or a name to look up (with its format).
struct Segment
{
    QString literal;
    QString name;
    QString format;
    int field = -1; // index in the data set, inside the band
    bool isName = false;
};

QList<Segment> compile(QStringView text, const ReportData *rowFields)
{
    QList<Segment> out;
    qsizetype pos = 0;
    auto it = placeholderPattern().globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.capturedStart() > pos)
            out.append({text.mid(pos, m.capturedStart() - pos).toString(), {}, {}, -1, false});
        Segment s;
        s.isName = true;
        s.name = m.captured(1);
        s.format = m.captured(2).trimmed();
        if (rowFields)
            s.field = rowFields->fieldIndex(s.name);
        out.append(s);
        pos = m.capturedEnd();
    }
    if (pos < text.size())
        out.append({text.mid(pos).toString(), {}, {}, -1, false});
    return out;
}

} // namespace

Report::Report(const QString &name) : m_name(name) {}

QString Report::templateFileName() const
{
    return m_name + QStringLiteral(".html");
}

QString Report::templatePath(const QString &appPath) const
{
    return QDir(appPath).filePath(templateFileName());
}

void Report::setVariable(const QString &name, const QVariant &value)
{
    for (auto &v : m_variables) {
        if (v.first.compare(name, Qt::CaseInsensitive) == 0) {
            v.second = value;
            return;
        }
    }
    m_variables.append({name, value});
}

QVariant Report::variable(const QString &name) const
{
    for (const auto &v : m_variables) {
        if (v.first.compare(name, Qt::CaseInsensitive) == 0)
            return v.second;
    }
    return {};
}

QDate Report::printDate() const
{
    return m_printDate.isValid() ? m_printDate : QDate::currentDate();
}

bool Report::loadTemplate(const QString &path, QString *error)
{
    m_loaded = false;
    m_templateText.clear();
    m_source = path;
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("Il modello di stampa \"%1\" non è stato trovato.").arg(shown));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Il modello di stampa \"%1\" non può essere letto: %2").arg(shown, f.errorString()));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return fail(QStringLiteral("Il modello di stampa \"%1\" non può essere letto: %2").arg(shown, f.errorString()));
    if (bytes.trimmed().isEmpty())
        return fail(QStringLiteral("Il modello di stampa \"%1\" è vuoto.").arg(shown));
    // Templates are UTF-8; one saved by a Windows editor in its own code page still reads.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QStringDecoder("windows-1252").decode(bytes);
    m_templateText = text;
    m_loaded = true;
    return true;
}

void Report::setTemplateText(const QString &text)
{
    m_templateText = text;
    m_source.clear();
    m_loaded = true;
}

QString Report::html() const
{
    const QString &t = m_templateText;
    const auto start = bandStartPattern().match(t);
    QStringView before = t, band, after;
    if (start.hasMatch()) {
        const auto end = bandEndPattern().match(t, start.capturedEnd());
        before = QStringView(t).left(start.capturedStart());
        if (end.hasMatch()) {
            band = QStringView(t).mid(start.capturedEnd(), end.capturedStart() - start.capturedEnd());
            after = QStringView(t).mid(end.capturedEnd());
        } else {
            band = QStringView(t).mid(start.capturedEnd());
        }
    }

    const QString today = formatValue(printDate(), QString());
    auto lookup = [&](const Segment &s, int row) -> QString {
        if (row >= 0) {
            if (s.field >= 0)
                return formatValue(m_data.value(row, s.field), s.format);
            if (s.name.compare(QLatin1String("RIGA"), Qt::CaseInsensitive) == 0)
                return QString::number(row + 1);
        }
        for (const auto &v : m_variables) {
            if (v.first.compare(s.name, Qt::CaseInsensitive) == 0)
                return formatValue(v.second, s.format);
        }
        if (s.name.compare(QLatin1String("DATA_STAMPA"), Qt::CaseInsensitive) == 0)
            return s.format.isEmpty() ? today : printDate().toString(s.format);
        if (s.name.compare(QLatin1String("N_RIGHE"), Qt::CaseInsensitive) == 0)
            return QString::number(m_data.rowCount());
        return QString();
    };
    auto expand = [&](QString &out, const QList<Segment> &segments, int row) {
        for (const Segment &s : segments) {
            if (s.isName)
                out += lookup(s, row).toHtmlEscaped();
            else
                out += s.literal;
        }
    };

    const QList<Segment> head = compile(before, nullptr);
    const QList<Segment> rows = compile(band, &m_data);
    const QList<Segment> tail = compile(after, nullptr);
    QString out;
    out.reserve(t.size() + qsizetype(band.size()) * m_data.rowCount());
    expand(out, head, -1);
    for (int r = 0; r < m_data.rowCount(); ++r)
        expand(out, rows, r);
    expand(out, tail, -1);
    return out;
}

QString Report::title() const
{
    static const QRegularExpression re(QStringLiteral(R"(<title>(.*?)</title>)"),
                                       QRegularExpression::CaseInsensitiveOption
                                           | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(m_templateText);
    if (m.hasMatch()) {
        Report titleOnly(m_name);
        titleOnly.m_variables = m_variables;
        titleOnly.m_printDate = m_printDate;
        titleOnly.setTemplateText(m.captured(1));
        const QString t = QTextDocumentFragment::fromHtml(titleOnly.html()).toPlainText().simplified();
        if (!t.isEmpty())
            return t;
    }
    return m_name;
}

QPageLayout Report::pageLayout() const
{
    static const QRegularExpression landscape(
        QStringLiteral(R"(<meta\s+name\s*=\s*"orientamento"\s+content\s*=\s*"orizzontale")"),
        QRegularExpression::CaseInsensitiveOption);
    const auto orientation = landscape.match(m_templateText).hasMatch() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
}

int Report::render(QPagedPaintDevice *device) const
{
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(device);
    doc.setHtml(html());

    const int dpi = device->logicalDpiY();
    const QRectF paint = device->pageLayout().paintRectPixels(dpi);
    QFont footFont = doc.defaultFont();
    footFont.setPointSizeF(8);
    const QFontMetricsF fm(footFont, device);
    const qreal footHeight = fm.height() * 2.2;
    const QSizeF body(paint.width(), paint.height() - footHeight);
    doc.setPageSize(body);
    const int pages = doc.pageCount();

    QPainter p;
    if (!p.begin(device))
        throw DataError(QStringLiteral("Impossibile preparare la stampa di \"%1\".").arg(m_name));
    const QString printed = QStringLiteral("Stampato il %1").arg(printDate().toString(QStringLiteral("dd/MM/yyyy")));
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device->newPage();
        p.save();
        const QRectF clip(0, i * body.height(), body.width(), body.height());
        p.translate(0, -clip.top());
        p.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = clip;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        doc.documentLayout()->draw(&p, ctx);
        p.restore();

        const QRectF foot(0, body.height(), body.width(), footHeight);
        p.setFont(footFont);
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(QPointF(foot.left(), foot.top() + fm.height() * 0.4),
                   QPointF(foot.right(), foot.top() + fm.height() * 0.4));
        p.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, printed);
        p.drawText(foot, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Pagina %1 di %2").arg(i + 1).arg(pages));
    }
    p.end();
    return pages;
}

void Report::exportPdf(const QString &path) const
{
    const QString shown = QDir::toNativeSeparators(path);
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw DataError(QStringLiteral("Impossibile scrivere il file \"%1\": %2").arg(shown, probe.errorString()));
    }
    QPdfWriter writer(path);
    writer.setPageLayout(pageLayout());
    writer.setResolution(300);
    writer.setTitle(title());
    writer.setCreator(QStringLiteral("Tarvido"));
    render(&writer);
}

bool ShowReport(Report &report, const QString &appPath)
{
    QString error;
    if (!report.loadTemplate(report.templatePath(appPath), &error)) {
        ui().showMessage(error);
        return false;
    }
    ui().previewReport(report);
    return true;
}
