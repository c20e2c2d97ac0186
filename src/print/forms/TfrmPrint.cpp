// The print dialog's widgets and handlers; the page, margin and sheet rules come from the Qt-free print layer.
#include "print/forms/TfrmPrint.h"

#include "base/Text.h"
#include "ui/qt/FormKit.h"
#include "ui/qt/PrinterSurface.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace print::forms {

TfrmPrint::TfrmPrint(ui::Services& services, QWidget* parent)
    : QDialog(parent), services_(services), printer_(QPrinter::HighResolution) {
    setWindowTitle(QStringLiteral("印刷"));
    auto* layout = new QVBoxLayout(this);
    auto* names = new QGridLayout;
    txtBukkenmei = new QLineEdit(this);
    ui::qt::acceptOnlyCp932(txtBukkenmei);
    txtDate = new QLineEdit(this);
    names->addWidget(new QLabel(QStringLiteral("物件名"), this), 0, 0);
    names->addWidget(txtBukkenmei, 0, 1);
    names->addWidget(new QLabel(QStringLiteral("日付"), this), 1, 0);
    names->addWidget(txtDate, 1, 1);
    layout->addLayout(names);

    auto* group = new QGroupBox(QStringLiteral("余白"), this);
    auto* grid = new QGridLayout(group);
    auto addMargin = [&](int row, const char* caption, QLineEdit*& edit, QLabel*& range) {
        edit = new QLineEdit(QStringLiteral("5"), group);
        edit->setMaximumWidth(48);
        edit->installEventFilter(this);
        range = new QLabel(group);
        grid->addWidget(new QLabel(QString::fromUtf8(caption), group), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("mm"), group), row, 2);
        grid->addWidget(range, row, 3);
    };
    addMargin(0, "上", txtUp, labUp);
    addMargin(1, "下", txtDown, labDown);
    addMargin(2, "左", txtLeft, labLeft);
    addMargin(3, "右", txtRight, labRight);
    layout->addWidget(group);

    auto* buttons = new QHBoxLayout;
    btnPrint = new QPushButton(QStringLiteral("印刷"), this);
    btnCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    btnSetup = new QPushButton(QStringLiteral("設定"), this);
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnSetup);
    layout->addLayout(buttons);

    connect(txtUp, &QLineEdit::editingFinished, this, &TfrmPrint::txtUpExit);
    connect(txtDown, &QLineEdit::editingFinished, this, &TfrmPrint::txtDownExit);
    connect(txtLeft, &QLineEdit::editingFinished, this, &TfrmPrint::txtLeftExit);
    connect(txtRight, &QLineEdit::editingFinished, this, &TfrmPrint::txtRightExit);
    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrintClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &TfrmPrint::btnCancelClick);
    connect(btnSetup, &QPushButton::clicked, this, &TfrmPrint::btnSetupClick);

    printer_.setPageOrientation(QPageLayout::Landscape);
    measurePage();
    rules_.measure(page_, margins_);
    showLabels();
}

TfrmPrint::~TfrmPrint() = default;

bool TfrmPrint::outputPossible() {
    // Without a printer the sheet goes to a PDF file: that is an output too.
    if (!ui::qt::printerAvailable()) printer_.setOutputFormat(QPrinter::PdfFormat);
    if (printer_.isValid()) return true;
    services_.messageBox(kMsgNoPrinter, "", ui::Icon::Warning, ui::Buttons::Ok);
    return false;
}

int TfrmPrint::Print1Click(const PrintSource& source) {
    if (!outputPossible()) return QDialog::Rejected;
    source_ = source;
    return exec();
}

void TfrmPrint::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmPrint::measurePage() {
    page_ = PageGeometry::of(printer_.width(), printer_.height(), printer_.logicalDpiX(), printer_.logicalDpiY());
}

void TfrmPrint::showLabels() {
    labUp->setText(QString::fromStdString(rules_.label(MarginSide::Up)));
    labDown->setText(QString::fromStdString(rules_.label(MarginSide::Down)));
    labLeft->setText(QString::fromStdString(rules_.label(MarginSide::Left)));
    labRight->setText(QString::fromStdString(rules_.label(MarginSide::Right)));
}

void TfrmPrint::FormShow() {
    printer_.setPageOrientation(QPageLayout::Landscape);
    txtDate->setText(QString::fromStdString(services_.today()));
    measurePage();
    rules_.measure(page_, margins_);
    showLabels();
    picbmp_.reset();
    if (source_.doc && source_.stats) {
        region_ = printRegion(model::computeExtent(source_.doc->plan, source_.doc->screenWidth, source_.doc->screenHeight),
                              *source_.stats);
        if (source_.planImage) picbmp_ = copyRegion(*source_.planImage, region_, services_);
    }
}

bool TfrmPrint::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == txtUp || watched == txtDown || watched == txtLeft || watched == txtRight)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (key->key() == Qt::Key_Backspace) return false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return false;
        // Keys without a character (arrows, Tab, Delete) move and edit as usual.
        if (text.isEmpty() || !text.at(0).isPrint()) return false;
        return !marginKeyPasses(static_cast<int>(text.at(0).unicode()));
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPrint::leaveMargin(MarginSide side, QLineEdit* edit) {
    try {
        const int v = rules_.leave(side, edit->text().toStdString(), margins_);
        edit->setText(QString::number(v));
    } catch (const base::ConversionError& e) {
        services_.messageBox(e.what(), "入力エラー", ui::Icon::Stop, ui::Buttons::Ok);
        const int stored = side == MarginSide::Up     ? margins_.top
                           : side == MarginSide::Down ? margins_.bottom
                           : side == MarginSide::Left ? margins_.left
                                                      : margins_.right;
        edit->setText(QString::number(stored));
    }
    showLabels();
}

void TfrmPrint::txtUpExit() { leaveMargin(MarginSide::Up, txtUp); }
void TfrmPrint::txtDownExit() { leaveMargin(MarginSide::Down, txtDown); }
void TfrmPrint::txtLeftExit() { leaveMargin(MarginSide::Left, txtLeft); }
void TfrmPrint::txtRightExit() { leaveMargin(MarginSide::Right, txtRight); }

void TfrmPrint::btnSetupClick() {
    QPrintDialog dialog(&printer_, this);
    dialog.setWindowTitle(QStringLiteral("プリンタの設定"));
    dialog.exec();
    measurePage();
    rules_.measure(page_, margins_);
    showLabels();
}

bool TfrmPrint::ensureOutput() {
    if (printer_.outputFormat() == QPrinter::NativeFormat && !ui::qt::printerAvailable())
        printer_.setOutputFormat(QPrinter::PdfFormat);
    if (printer_.outputFormat() != QPrinter::PdfFormat) return true;
    // Every job asks for its file (the last one offered again); the save dialog asks before an
    // existing file is replaced, so an earlier sheet is never overwritten unasked.
    ui::FileDialogRequest request;
    request.filter = kPdfFilter;
    request.defaultExtension = "pdf";
    request.initialName = printer_.outputFileName().toStdString();
    const auto path = services_.saveFileDialog(request);
    if (!path || path->empty()) return false;
    printer_.setOutputFileName(QString::fromStdString(*path));
    return true;
}

bool TfrmPrint::btnPrintClick() {
    measurePage();
    // Texts typed but not yet left count as left.
    leaveMargin(MarginSide::Up, txtUp);
    leaveMargin(MarginSide::Down, txtDown);
    leaveMargin(MarginSide::Left, txtLeft);
    leaveMargin(MarginSide::Right, txtRight);
    if (!source_.doc || !source_.touroku || !source_.stats || !source_.settings) return false;
    source_.doc->projectName = txtBukkenmei->text().toStdString();
    if (askForLandscape(printer_.pageLayout().orientation() == QPageLayout::Landscape, services_))
        printer_.setPageOrientation(QPageLayout::Landscape);
    if (!ensureOutput()) return false;

    bool ok = false;
    {
        ui::qt::PrinterJob job(printer_);
        drawSheet(job);
        ok = job.finish();
    }
    accept();
    return ok;
}

void TfrmPrint::drawSheet(ui::PrintJob& job) {
    SheetContent content = sheetContentOf(*source_.doc, *source_.touroku, *source_.stats, *source_.settings, source_.indirect);
    content.objectName = txtBukkenmei->text().toStdString();
    content.date = txtDate->text().toStdString();
    content.margins = margins_;
    if (!picbmp_ && source_.planImage && content.displayKind != 'T') picbmp_ = copyRegion(*source_.planImage, content.region, services_);
    content.picbmp = picbmp_.get();
    drawDistributionSheetPages(job, content, source_.painters);
}

void TfrmPrint::previewSheet(const PrintSource& source) {
    if (!source.doc || !source.touroku || !source.stats || !source.settings) return;
    source_ = source;
    // The page, the date and the plan picture as the dialog would prepare them; the margins and the
    // object name are the ones last entered.
    FormShow();
    ui::qt::showPrintPreview(printer_, parentWidget(), [this](ui::PrintJob& job) { drawSheet(job); });
}

void TfrmPrint::previewFixtureTable(const catalog::TourokuTable& touroku, const FixtureTableStyle& style) {
    ui::qt::showPrintPreview(printer_, parentWidget(), [&](ui::PrintJob& job) {
        drawFixtureTableAlone(job.page(), margins_, touroku, style);
    });
}

bool TfrmPrint::saveSheetPdf(const PrintSource& source) {
    if (!source.doc || !source.touroku || !source.stats || !source.settings || !source.planImage) return false;
    ui::FileDialogRequest request;
    request.filter = kPdfFilter;
    request.defaultExtension = "pdf";
    request.initialName = lastPdfName_;
    const auto path = services_.saveFileDialog(request);
    if (!path || path->empty()) return false;
    const std::string date = txtDate->text().isEmpty() ? services_.today() : txtDate->text().toStdString();
    if (!printDistributionMapPdf(*path, *source.doc, *source.touroku, *source.stats, *source.settings, *source.planImage,
                                 source.painters, txtBukkenmei->text().toStdString(), date, services_, margins_,
                                 source.indirect)) {
        services_.messageBox(ui::aboutFile(kMsgCannotWritePdf, *path), "エラー", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    lastPdfName_ = *path;
    return true;
}

void TfrmPrint::btnCancelClick() { reject(); }

bool TfrmPrint::printFixtureTable(const catalog::TourokuTable& touroku, const FixtureTableStyle& style) {
    if (!outputPossible()) return false;
    measurePage();
    if (!ensureOutput()) return false;
    ui::qt::PrinterJob job(printer_);
    drawFixtureTableAlone(job.page(), margins_, touroku, style);
    return job.finish();
}

} // namespace print::forms
