// The printer page as a drawing surface: QPainter on a QPrinter or a QPdfWriter, in device dots.
#pragma once
#include "ui/PrintJob.h"
#include "ui/qt/QtSurface.h"

#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <memory>
#include <string>

class QPrinter;

namespace ui::qt {

// Painting starts when the surface is made and ends with finish() (or the destructor).
class PrinterSurface : public PainterSurface {
public:
    explicit PrinterSurface(QPagedPaintDevice* device);
    ~PrinterSurface() override;

    bool isPrinter() const override { return true; }
    int dpiX() const override { return resolution_; }
    int dpiY() const override { return resolution_; }
    bool active() const;
    bool newPage();
    bool finish();

private:
    QPagedPaintDevice* paged_;
    int resolution_;
    bool finished_ = false;
};

// A job on a printer the user chose (the print dialog may have pointed it at a PDF file).
class PrinterJob : public PrintJob {
public:
    explicit PrinterJob(QPrinter& printer);
    Surface& page() override { return surface_; }
    bool newPage() override { return surface_.newPage(); }
    bool finish() override { return surface_.finish(); }

private:
    PrinterSurface surface_;
};

// A job writing an A4 PDF file with no page margins, so that the whole sheet is the printable page.
class PdfJob : public PrintJob {
public:
    PdfJob(const std::string& path, bool landscape, int dpi);
    Surface& page() override { return *surface_; }
    bool newPage() override { return surface_->newPage(); }
    bool finish() override;
    bool ok() const { return surface_->active(); }

private:
    QPdfWriter writer_;
    std::unique_ptr<PrinterSurface> surface_;
};

// True when the system knows at least one printer.
bool printerAvailable();

} // namespace ui::qt
