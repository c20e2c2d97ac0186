// Printer and PDF pages on QPainter: the job starts with the surface and ends with finish().
#include "ui/qt/PrinterSurface.h"

#include "base/TextFile.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPrintPreviewDialog>

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

namespace {

QString pdfFileOf(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
}

// Points the printer at a scratch file while it prints; null (the printer writes in place) when no
// scratch folder can be made.
std::unique_ptr<QTemporaryDir> divertToScratch(QPrinter& printer, const QString& target) {
    if (target.isEmpty()) return nullptr;
    auto scratch = std::make_unique<QTemporaryDir>();
    if (!scratch->isValid()) return nullptr;
    printer.setOutputFileName(scratch->filePath(QStringLiteral("sheet.pdf")));
    return scratch;
}

} // namespace

PrinterJob::PrinterJob(QPrinter& printer)
    : printer_(printer), pdfTarget_(pdfFileOf(printer)), scratch_(divertToScratch(printer, pdfTarget_)), surface_(&printer) {}

PrinterJob::~PrinterJob() {
    surface_.finish();
    if (scratch_) printer_.setOutputFileName(pdfTarget_);
}

bool PrinterJob::finish() {
    bool ok = surface_.finish();
    if (!scratch_) return ok;
    QFile sheet(printer_.outputFileName());
    ok = ok && sheet.open(QIODevice::ReadOnly);
    const QByteArray bytes = ok ? sheet.readAll() : QByteArray();
    printer_.setOutputFileName(pdfTarget_);
    return ok && base::writeWholeFile(QFile::encodeName(pdfTarget_).toStdString(), bytes.toStdString());
}

PdfJob::PdfJob(const std::string& path, bool landscape, int dpi)
    : path_(path), buffer_(&bytes_), writer_((buffer_.open(QIODevice::WriteOnly), &buffer_)) {
    writer_.setResolution(dpi);
    writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer_.setCreator(QStringLiteral("ORDIVAN"));
    surface_ = std::make_unique<PrinterSurface>(&writer_);
}

bool PdfJob::finish() {
    if (!surface_->finish()) return false;
    buffer_.close();
    return base::writeWholeFile(path_, bytes_.toStdString());
}

std::unique_ptr<PrintJob> openPdfJob(const std::string& path, bool landscape, int dpi) {
    auto job = std::make_unique<PdfJob>(path, landscape, dpi);
    if (!job->ok()) return nullptr;
    return job;
}

bool printerAvailable() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

namespace {

// The pages of the preview window: the printer as the preview hands it over, written in place.
class PreviewJob : public PrintJob {
public:
    explicit PreviewJob(QPrinter* printer) : surface_(printer) {}
    Surface& page() override { return surface_; }
    bool newPage() override { return surface_.newPage(); }
    bool finish() override { return surface_.finish(); }

private:
    PrinterSurface surface_;
};

} // namespace

void showPrintPreview(QPrinter& printer, QWidget* parent, const std::function<void(PrintJob&)>& drawPages) {
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&drawPages](QPrinter* target) {
        PreviewJob job(target);
        drawPages(job);
        job.finish();
    });
    dialog.exec();
}

} // namespace ui::qt
