// A print job as the sheets see it: the page surface of a printer or a PDF file, page breaks and the end of the job.
#pragma once
#include "ui/Surface.h"

namespace ui {

class PrintJob {
public:
    virtual ~PrintJob() = default;
    // The current page; its isPrinter() is true and its dpi is the device's resolution.
    virtual Surface& page() = 0;
    virtual bool newPage() = 0;
    // Hands the job to the device; false when the device could not take it (a file not writable).
    virtual bool finish() = 0;
};

} // namespace ui
