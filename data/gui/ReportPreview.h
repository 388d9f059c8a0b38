#pragma once

#include "data/Report.h"

#include <QDialog>
#include <QPrinter>

class QLabel;
class QPrintPreviewWidget;

// The print preview of a filled report: zoom, print, save as PDF, close.
class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    explicit ReportPreview(const Report &report, QWidget *parent = nullptr);

    const Report &report() const { return m_report; }
    QPrintPreviewWidget *view() const { return m_view; }

public slots:
    void printReport();
    void savePdf();

private:
    void paintPages(QPrinter *printer);
    void showZoom();

    Report m_report;
    QPrinter m_printer;
    QPrintPreviewWidget *m_view = nullptr;
    QLabel *m_pages = nullptr;
};
