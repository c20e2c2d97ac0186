// The printer page as a drawing surface: QPainter on a QPrinter or a QPdfWriter, in device dots.
#pragma once
#include "ui/PrintJob.h"
#include "ui/qt/QtSurface.h"

#include <QBuffer>
#include <QByteArray>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>

class QPrinter;
class QWidget;

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

// A job on a printer the user chose. When the print dialog pointed it at a PDF file, the printer
// writes a scratch copy and finish() puts the file in place through the one write path.
class PrinterJob : public PrintJob {
public:
    explicit PrinterJob(QPrinter& printer);
    ~PrinterJob() override;
    Surface& page() override { return surface_; }
    bool newPage() override { return surface_.newPage(); }
    bool finish() override;

private:
    QPrinter& printer_;
    QString pdfTarget_;  // the file the user chose; empty on a real printer
    std::unique_ptr<QTemporaryDir> scratch_;
    PrinterSurface surface_;
};

// A job writing an A4 PDF file with no page margins, so that the whole sheet is the printable page.
// The document is made in memory and written whole by finish(); an unfinished job writes nothing.
class PdfJob : public PrintJob {
public:
    PdfJob(const std::string& path, bool landscape, int dpi);
    Surface& page() override { return *surface_; }
    bool newPage() override { return surface_->newPage(); }
    bool finish() override;
    bool ok() const { return surface_->active(); }

private:
    std::string path_;
    QByteArray bytes_;
    QBuffer buffer_;
    QPdfWriter writer_;
    std::unique_ptr<PrinterSurface> surface_;
};

// A PdfJob on `path`, or nullptr when its page cannot be painted.
std::unique_ptr<PrintJob> openPdfJob(const std::string& path, bool landscape, int dpi);

// True when the system knows at least one printer.
bool printerAvailable();

// The preview window of a sheet on `printer`: `drawPages` draws the sheet into the job it is given
// (again for every repaint and for the preview's own print command). Returns when the window is closed.
void showPrintPreview(QPrinter& printer, QWidget* parent, const std::function<void(PrintJob&)>& drawPages);

} // namespace ui::qt
