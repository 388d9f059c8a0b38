#include "data/gui/ReportPreview.h"

#include "data/Ui.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QToolBar>
#include <QVBoxLayout>

ReportPreview::ReportPreview(const Report &report, QWidget *parent)
    : QDialog(parent), m_report(report), m_printer(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(m_report.title());
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    m_printer.setPageLayout(m_report.pageLayout());
    m_printer.setDocName(m_report.title());

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbAnteprima"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_view = new QPrintPreviewWidget(&m_printer, this);
    m_view->setObjectName(QStringLiteral("pvAnteprima"));
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::paintPages);
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::showZoom);

    auto add = [&](const char *name, const QString &text, const QKeySequence &key, auto slot) {
        QAction *a = bar->addAction(text);
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("actZoomPiu", QStringLiteral("Zoom +"), QKeySequence::ZoomIn, [this] { m_view->zoomIn(1.25); showZoom(); });
    add("actZoomMeno", QStringLiteral("Zoom −"), QKeySequence::ZoomOut, [this] { m_view->zoomOut(1.25); showZoom(); });
    add("actLarghezza", QStringLiteral("Larghezza pagina"), QKeySequence(), [this] { m_view->fitToWidth(); showZoom(); });
    add("actPaginaIntera", QStringLiteral("Pagina intera"), QKeySequence(), [this] { m_view->fitInView(); showZoom(); });
    bar->addSeparator();
    add("actStampa", QStringLiteral("Stampa..."), QKeySequence::Print, &ReportPreview::printReport);
    add("actSalvaPdf", QStringLiteral("Salva PDF..."), QKeySequence::Save, &ReportPreview::savePdf);
    bar->addSeparator();
    add("actChiudi", QStringLiteral("Chiudi"), QKeySequence(), &QDialog::accept);
    m_pages = new QLabel(this);
    m_pages->setObjectName(QStringLiteral("lbPagine"));
    m_pages->setContentsMargins(12, 0, 6, 0);
    bar->addWidget(m_pages);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_view, 1);
    resize(900, 760);
    m_view->fitToWidth();
}

void ReportPreview::paintPages(QPrinter *printer)
{
    guarded([&] { m_report.render(printer); });
}

void ReportPreview::showZoom()
{
    m_pages->setText(QStringLiteral("Pagine: %1   Zoom: %2%")
                         .arg(m_view->pageCount())
                         .arg(qRound(m_view->zoomFactor() * 100)));
}

void ReportPreview::printReport()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_report.pageLayout());
    printer.setDocName(m_report.title());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("dlgStampa"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    guarded([&] { m_report.render(&printer); });
}

void ReportPreview::savePdf()
{
    QString path = ui().saveFileName(QStringLiteral("Salva come PDF"),
                                     QDir::home().filePath(m_report.name() + QStringLiteral(".pdf")),
                                     QStringLiteral("Documenti PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    guarded([&] { m_report.exportPdf(path); });
}
