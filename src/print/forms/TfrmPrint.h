// TfrmPrint: the print dialog of the distribution map (object name, date, margins, printer set-up, print).
#pragma once
#include "print/DistributionSheet.h"
#include "print/PageGeometry.h"
#include "ui/Services.h"

#include <QDialog>
#include <QPrinter>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace print::forms {

// What the sheet is printed from: the main window's state at the time of printing.
struct PrintSource {
    model::Document* doc = nullptr;
    const catalog::TourokuTable* touroku = nullptr;
    const calc::ResultStats* stats = nullptr;
    const calc::CalcSettings* settings = nullptr;
    const ui::Surface* planImage = nullptr;  // the plan drawing surface as displayed
    SheetPainters painters;
    const calc::IndirectFigures* indirect = nullptr;  // the result's reflected light, when it has any
};

class TfrmPrint : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPrint(ui::Services& services, QWidget* parent = nullptr);
    ~TfrmPrint() override;

    // The main window's "印刷(&P)": the dialog, modally, when the sheet has somewhere to go.
    int Print1Click(const PrintSource& source);
    // A printer, else a PDF file the user names when printing; "プリンターが設定されていません。"
    // only when neither can take the sheet.
    bool outputPossible();
    // Prepares the dialog for showing (what the dialog does whenever it is shown).
    void FormShow();

    void txtUpExit();
    void txtDownExit();
    void txtLeftExit();
    void txtRightExit();
    void btnSetupClick();
    // Prints the sheet and closes the dialog; false when the job failed.
    bool btnPrintClick();
    void btnCancelClick();

    // The product-number list's print: the fixture table alone at the left margin, orientation unchanged.
    bool printFixtureTable(const catalog::TourokuTable& touroku, const FixtureTableStyle& style);

    // The preview window of the sheet as "印刷" would print it (object name, date and margins of this dialog).
    void previewSheet(const PrintSource& source);
    // The preview window of the product-number list's table.
    void previewFixtureTable(const catalog::TourokuTable& touroku, const FixtureTableStyle& style);
    // "PDF に出力": the sheet into a PDF file the user names, without the print dialog; false when
    // cancelled or not written ("ファイルに書き込みできません").
    bool saveSheetPdf(const PrintSource& source);

    QPrinter& printer() { return printer_; }
    const Margins& margins() const { return margins_; }
    const MarginRules& rules() const { return rules_; }
    void setSource(const PrintSource& source) { source_ = source; }

    QLineEdit* txtBukkenmei = nullptr;
    QLineEdit* txtDate = nullptr;
    QLineEdit* txtUp = nullptr;
    QLineEdit* txtDown = nullptr;
    QLineEdit* txtLeft = nullptr;
    QLineEdit* txtRight = nullptr;
    QLabel* labUp = nullptr;
    QLabel* labDown = nullptr;
    QLabel* labLeft = nullptr;
    QLabel* labRight = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnSetup = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void measurePage();
    void showLabels();
    void leaveMargin(MarginSide side, QLineEdit* edit);
    bool readMargins();
    // With no printer, asks where this job's PDF file goes; false when the user cancelled.
    bool ensureOutput();
    // The sheet of source_ (with its task-area page when there are areas) with this dialog's texts and margins.
    void drawSheet(ui::PrintJob& job);

    ui::Services& services_;
    QPrinter printer_;
    PageGeometry page_;
    Margins margins_;
    MarginRules rules_;
    PrintSource source_;
    PrintRegion region_;
    std::unique_ptr<ui::Surface> picbmp_;
    std::string lastPdfName_;  // offered again by the next "PDF に出力"
};

inline constexpr const char* kPdfFilter = "PDF(*.pdf)|*.pdf";
inline constexpr const char* kMsgCannotWritePdf = "ファイルに書き込みできません";

} // namespace print::forms
