// Printer and PDF pages on QPainter: the job starts with the surface and ends with finish().
#include "ui/qt/PrinterSurface.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace ui::qt {

PrinterSurface::PrinterSurface(QPagedPaintDevice* device) : paged_(device), resolution_(device->logicalDpiX()) {
    begin(device);
}

PrinterSurface::~PrinterSurface() { finish(); }

bool PrinterSurface::active() const { return !finished_ && const_cast<PrinterSurface*>(this)->painter().isActive(); }

bool PrinterSurface::newPage() {
    if (finished_) return false;
    return paged_->newPage();
}

bool PrinterSurface::finish() {
    if (finished_) return false;
    finished_ = true;
    const bool wasActive = painter().isActive();
    end();
    return wasActive;
}

PrinterJob::PrinterJob(QPrinter& printer) : surface_(&printer) {}

PdfJob::PdfJob(const std::string& path, bool landscape, int dpi) : writer_(QString::fromStdString(path)) {
    writer_.setResolution(dpi);
    writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer_.setCreator(QStringLiteral("ORDIVAN"));
    surface_ = std::make_unique<PrinterSurface>(&writer_);
}

bool PdfJob::finish() { return surface_->finish(); }

bool printerAvailable() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

} // namespace ui::qt
