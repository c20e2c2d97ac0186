// The product selection dialog's widgets and handlers; every rule lives in catalog::Selection.
#include "catalog/forms/TZOLTData.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace catalog::forms {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

void fillList(QListWidget* list, const std::vector<std::string>& items, int current) {
    list->clear();
    for (const auto& s : items) list->addItem(q(s));
    if (current >= 0 && current < list->count()) list->setCurrentRow(current);
}

} // namespace

TZOLTData::TZOLTData(const std::string& dataDir, ui::Services& services, QWidget* parent)
    : QDialog(parent), services_(services), selection_(catalog_, services), picture_(kConePictureSize, kConePictureSize) {
    setWindowTitle("品番登録");
    setModal(true);
    auto* grid = new QGridLayout(this);
    txtHinban = new QLineEdit(this);
    Button1 = new QPushButton("検索", this);
    listHinban = new QListWidget(this);
    listLampName = new QListWidget(this);
    listLampNameA = new QListWidget(this);
    listOption = new QListWidget(this);
    Label2 = new QLabel("ｵﾌﾟｼｮﾝ品番", this);
    labOption = new QLabel(this);
    pic12 = new QLabel(this);
    pic12->setFixedSize(kConePictureSize, kConePictureSize);
    labKaku = new QLabel(this);
    labKaku2 = new QLabel(this);
    labLamp = new QLabel(this);
    labLamp->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labHinban = new QLabel(this);
    labMessage = new QLabel(this);
    labMessage->setStyleSheet("color: red");
    cmdOK = new QPushButton("登録", this);
    btnESC = new QPushButton("ｷｬﾝｾﾙ", this);
    // Enter in the product box searches once, by itself: no button of the dialog may take the key as
    // its default too (a second search would start from the first match and list only that one).
    for (QPushButton* b : {Button1, cmdOK, btnESC}) b->setAutoDefault(false);
    listLampName->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    listLampNameA->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    grid->addWidget(new QLabel("品番", this), 0, 0);
    grid->addWidget(txtHinban, 0, 1);
    grid->addWidget(Button1, 0, 2);
    grid->addWidget(listHinban, 1, 0, 4, 2);
    grid->addWidget(listLampName, 1, 2, 2, 2);
    grid->addWidget(listLampNameA, 1, 2, 2, 2);
    grid->addWidget(Label2, 3, 2);
    grid->addWidget(labOption, 3, 3);
    grid->addWidget(listOption, 4, 2, 1, 2);
    grid->addWidget(pic12, 0, 4, Qt::AlignHCenter);
    grid->addWidget(labKaku, 1, 4);
    grid->addWidget(labKaku2, 2, 4);
    grid->addWidget(labLamp, 5, 0, 1, 2);
    grid->addWidget(labHinban, 5, 2, 1, 2);
    grid->addWidget(labMessage, 6, 0, 1, 4);
    grid->addWidget(cmdOK, 7, 2);
    grid->addWidget(btnESC, 7, 3);

    // Product numbers are typed in upper case.
    connect(txtHinban, &QLineEdit::textEdited, this, [this](const QString& t) {
        const QString upper = t.toUpper();
        if (upper != t) {
            const int at = txtHinban->cursorPosition();
            txtHinban->setText(upper);
            txtHinban->setCursorPosition(at);
        }
        txtHinbanChange(upper);
    });
    connect(txtHinban, &QLineEdit::returnPressed, this, [this] { Button1Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(listHinban, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { listHinbanClick(listHinban->row(item)); });
    connect(listLampName, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { listLampNameClick(listLampName->row(item)); });
    connect(listLampNameA, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { listLampNameClick(listLampNameA->row(item)); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOKClick(); });
    connect(btnESC, &QPushButton::clicked, this, [this] { btnESCClick(); });

    catalog_.load(dataDir, services_);
    prepare("", 'A');
}

void TZOLTData::sync() {
    syncing_ = true;
    const Selection& s = selection_;
    if (txtHinban->text() != q(s.txtHinban)) txtHinban->setText(q(s.txtHinban));
    Button1->setEnabled(s.button1Enabled);
    fillList(listHinban, s.listHinban, s.listHinbanIndex);
    fillList(listLampName, s.listLampName, s.lampIndex);
    fillList(listLampNameA, s.listLampNameA, s.lampIndex);
    listLampName->setVisible(s.lampNameJVisible);
    listLampNameA->setVisible(!s.lampNameJVisible);
    // The option list offers nothing: catalogue lines carry no option.
    listOption->clear();
    listOption->setEnabled(false);
    listOption->setStyleSheet("background-color: rgb(192, 192, 192)");
    Label2->setStyleSheet("color: rgb(102, 102, 102)");
    labOption->setText(q(s.labOption));
    labKaku->setText(q(s.labKaku));
    labKaku2->setText(q(s.labKaku2));
    labLamp->setText(q(s.labLamp));
    labHinban->setText(q(s.labHinban));
    labMessage->setText(q(s.labMessage));
    cmdOK->setEnabled(s.cmdOKEnabled);
    pic12->setPixmap(QPixmap::fromImage(*picture_.image()));
    syncing_ = false;
}

void TZOLTData::prepare(const std::string& hinban, char lampNameMode) {
    selection_.show(hinban, lampNameMode, picture_);
    sync();
}

bool TZOLTData::showFor(const std::string& hinban, char lampNameMode) {
    prepare(hinban, lampNameMode);
    exec();
    return selection_.confirmed;
}

void TZOLTData::Button1Click() {
    selection_.search(picture_);
    sync();
}

void TZOLTData::txtHinbanChange(const QString& text) {
    if (syncing_) return;
    selection_.textChanged(text.toStdString());
    sync();
}

void TZOLTData::listHinbanClick(int row) {
    selection_.selectProduct(row, picture_);
    sync();
}

void TZOLTData::listLampNameClick(int row) {
    selection_.selectLamp(row, picture_);
    sync();
}

void TZOLTData::cmdOKClick() {
    if (selection_.confirm(selectionBuffer)) accept();
    sync();
}

void TZOLTData::btnESCClick() { reject(); }

} // namespace catalog::forms
