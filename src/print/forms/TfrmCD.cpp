// The curve window's widgets and handlers; the diagram and the sheet come from the Qt-free curve layout.
#include "print/forms/TfrmCD.h"

#include "print/PdfPrint.h"
#include "ui/qt/PrinterSurface.h"
#include "ui/qt/FormKit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPrintDialog>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace print::forms {

TfrmCD::TfrmCD(ui::Services& services, std::string versionText, QWidget* parent)
    : QWidget(parent, ui::qt::kToolWindowFlags), services_(services), version_(std::move(versionText)),
      picture_(CurveView::kPictureWidth, CurveView::kPictureHeight) {
    setWindowTitle(QStringLiteral("配光曲線"));
    auto* layout = new QVBoxLayout(this);
    labLamp = new QLabel(this);
    picCD = new QLabel(this);
    picCD->setFixedSize(CurveView::kPictureWidth, CurveView::kPictureHeight);
    picCD->setContextMenuPolicy(Qt::CustomContextMenu);
    btnPrint = new QPushButton(QStringLiteral("印刷"), this);
    layout->addWidget(labLamp);
    layout->addWidget(picCD);
    btnPreview = new QPushButton(QStringLiteral("印刷プレビュー"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnPreview);
    layout->addLayout(buttons);

    PopupMenu1 = new QMenu(this);
    Copy1 = PopupMenu1->addAction(QStringLiteral("コピー(&C)"));
    save1 = PopupMenu1->addAction(QStringLiteral("BMPファイルで保存(&O)"));
    QMenu* change = PopupMenu1->addMenu(QStringLiteral("出力変更"));
    C11 = change->addAction(QStringLiteral("C1"));
    C21 = change->addAction(QStringLiteral("C2"));
    C31 = change->addAction(QStringLiteral("C3"));
    C41 = change->addAction(QStringLiteral("C4"));
    N2 = change->addAction(QStringLiteral("拡大"));
    N3 = change->addAction(QStringLiteral("縮小"));

    connect(picCD, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(picCD->mapToGlobal(at)); });
    connect(Copy1, &QAction::triggered, this, &TfrmCD::Copy1Click);
    connect(save1, &QAction::triggered, this, &TfrmCD::save1Click);
    connect(C11, &QAction::triggered, this, &TfrmCD::C11Click);
    connect(C21, &QAction::triggered, this, &TfrmCD::C21Click);
    connect(C31, &QAction::triggered, this, &TfrmCD::C31Click);
    connect(C41, &QAction::triggered, this, &TfrmCD::C41Click);
    connect(N2, &QAction::triggered, this, &TfrmCD::N2Click);
    connect(N3, &QAction::triggered, this, &TfrmCD::N3Click);
    connect(btnPrint, &QPushButton::clicked, this, &TfrmCD::btnPrintClick);
    connect(btnPreview, &QPushButton::clicked, this, &TfrmCD::btnPreviewClick);
    redraw();
}

TfrmCD::~TfrmCD() = default;

void TfrmCD::fill(const catalog::BunpuHinban& type) {
    view_.fill(type);
    labLamp->setText(QString::fromStdString(view_.sheet().lampText()));
    save1->setText(QStringLiteral("BMPファイルで保存(&O)"));
    redraw();
    show();
    raise();
}

void TfrmCD::C11Click() {
    view_.pickLayout(0);
    redraw();
}
void TfrmCD::C21Click() {
    view_.pickLayout(1);
    redraw();
}
void TfrmCD::C31Click() {
    view_.pickLayout(2);
    redraw();
}
void TfrmCD::C41Click() {
    view_.pickLayout(3);
    redraw();
}
void TfrmCD::N2Click() {
    view_.enlarge();
    redraw();
}
void TfrmCD::N3Click() {
    view_.reduce();
    redraw();
}

void TfrmCD::redraw() {
    view_.drawPicture(picture_, placeSheetText);
    picCD->setPixmap(QPixmap::fromImage(*picture_.image()));
}

std::unique_ptr<ui::Surface> TfrmCD::exportPicture() {
    auto picture = std::make_unique<ui::qt::ImageSurface>(CurveView::kPictureWidth, CurveView::kPictureHeight);
    view_.drawExportPicture(*picture, placeSheetText);
    return picture;
}

void TfrmCD::Copy1Click() {
    auto picture = exportPicture();
    services_.copyToClipboard(*picture);
}

void TfrmCD::save1Click() {
    ui::FileDialogRequest request;
    request.filter = "ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp) |*.bmp";
    request.defaultExtension = "bmp";
    request.initialName = lastSaveName_;
    const auto path = services_.saveFileDialog(request);
    if (!path || path->empty()) return;
    auto picture = exportPicture();
    if (services_.saveBitmap(*picture, *path)) {
        lastSaveName_ = *path;
        return;
    }
    // As the plan's bitmap says it: a picture that was not written is never passed over in silence.
    services_.messageBox(ui::aboutFile("ファイルが作成出来ません。", *path), "エラー", ui::Icon::Stop, ui::Buttons::Ok);
}

bool TfrmCD::printOn(QPrinter& printer) {
    ui::qt::PrinterJob job(printer);
    drawSheet(job.page());
    return job.finish();
}

void TfrmCD::drawSheet(ui::Surface& page) {
    CurveSheetPrintOptions options;
    ui::qt::ImageSurface logo(120, 40);
    drawMakerLogo(logo);
    options.logo = &logo;
    options.screenTextHeight = screenTextHeight(services_);
    options.date = services_.today();
    options.version = version_;
    printCurveSheet(page, view_, options, placeSheetText);
}

void TfrmCD::btnPreviewClick() {
    if (!view_.filled()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!ui::qt::printerAvailable()) printer.setOutputFormat(QPrinter::PdfFormat);
    ui::qt::showPrintPreview(printer, this, [this](ui::PrintJob& job) { drawSheet(job.page()); });
}

void TfrmCD::btnPrintClick() {
    if (!view_.filled()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    // Without an installed printer the dialog still offers printing into a PDF file.
    if (!ui::qt::printerAvailable()) printer.setOutputFormat(QPrinter::PdfFormat);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printOn(printer);
}

} // namespace print::forms
