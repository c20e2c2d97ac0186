// The main window: builds the palette, menus and status panel and mirrors the document into them.
#include "app/forms/TfrmMain.h"

#include "app/forms/PalettePictures.h"
#include "app/forms/StartupWindows.h"
#include "calc/forms/TfrmCalcING.h"
#include "calc/forms/TfrmCalcStart.h"
#include "calc/forms/TfrmHeightDialogs.h"
#include "calc/forms/TfrmRedraw.h"
#include "calc/forms/TfrmSeido.h"
#include "editor/forms/TfrmLen.h"
#include "editor/forms/TfrmSinki.h"
#include "ui/qt/Cursors.h"
#include "ui/qt/FormKit.h"
#include "view/forms/TfrmColorScale2.h"
#include "view/forms/TfrmLxScale.h"
#include "view/forms/TfrmTempScale.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

namespace app::forms {

using ui::qt::qs;
using ui::qt::ss;

PictureButton::PictureButton(const std::string& name, const QString& hint, QWidget* parent)
    : QLabel(parent), name_(name) {
    setObjectName(qs(name));
    setToolTip(hint);
    setFixedSize(kPaletteButtonSize, kPaletteButtonSize);
    showPicture(Picture::Off);
}

void PictureButton::showPicture(Picture p) {
    if (pictureSet_ && p == picture_) return;
    picture_ = p;
    pictureSet_ = true;
    setPixmap(palettePicture(name_, p));
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) emit clicked();
}

PlanImage::PlanImage(ui::qt::ImageSurface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setObjectName(QStringLiteral("Image1"));
    setMouseTracking(true);
    fitToSurface();
}

void PlanImage::fitToSurface() {
    if (size() != QSize(surface_.width(), surface_.height())) setFixedSize(surface_.width(), surface_.height());
}

void PlanImage::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), *surface_.image(), event->rect());
}

namespace {
ui::MouseEvent toMouseEvent(const QMouseEvent* e, Qt::MouseButton button) {
    ui::MouseEvent m;
    const QPoint pos = e->position().toPoint();
    m.position = ui::Point{pos.x(), pos.y()};
    m.button = button == Qt::RightButton ? ui::MouseButton::Right
               : button == Qt::MiddleButton ? ui::MouseButton::Middle
                                            : ui::MouseButton::Left;
    m.shift = e->modifiers().testFlag(Qt::ShiftModifier);
    m.ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    return m;
}
} // namespace

void PlanImage::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) onMouseDown(toMouseEvent(event, event->button()), event->globalPosition().toPoint());
}

void PlanImage::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove(toMouseEvent(event, Qt::NoButton));
}

TfrmMain::TfrmMain(MainContext context, QWidget* parent) : QMainWindow(parent), ctx_(context) {
    setObjectName(QStringLiteral("frmMain"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* palette = new QFrame(central);
    palette->setObjectName(QStringLiteral("Panel1"));
    palette->setFrameShape(QFrame::StyledPanel);
    buildPalette(palette);

    ScrollBox1 = new QScrollArea(central);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoScroll(false);
    Image1 = new PlanImage(ctx_.surface, ScrollBox1);
    ScrollBox1->setWidget(Image1);

    auto* status = new QFrame(central);
    status->setObjectName(QStringLiteral("Panel2"));
    status->setFrameShape(QFrame::StyledPanel);
    buildStatusPanel(status);

    palettePanel_ = palette;
    statusPanel_ = status;
    Timer1 = new QTimer(this);
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, Timer1, &QTimer::stop);
    layout->addWidget(palette);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(status);
    setCentralWidget(central);
    buildMenus();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    addItem(PopupMenu1, "pmnuCopy", QStringLiteral("ｺﾋﾟｰ(&C)"), &commands.pmnuCopyClick);
    addItem(PopupMenu1, "pmnuSave", QStringLiteral("ﾌｧｲﾙに保存(&S)"), &commands.pmnuSaveClick);

    Image1->onMouseDown = [this](const ui::MouseEvent& e, const QPoint& global) {
        bool popup = false;
        run([&] {
            if (commands.mouseDown) popup = commands.mouseDown(e);
        });
        if (popup && e.button == ui::MouseButton::Right) PopupMenu1->popup(global);
    };
    Image1->onMouseMove = [this](const ui::MouseEvent& e) {
        run([&] {
            if (commands.mouseMove) commands.mouseMove(e);
        });
    };

    // The windows of the system the main window shows, created once in the order of start-up.
    frmLen = new editor::forms::TfrmLen(ctx_.services, this);
    frmLxScale = new view::forms::TfrmLxScale(ctx_.doc, ctx_.services, this);
    frmVersion = new TfrmVersion(this);
    frmTempScale = new view::forms::TfrmTempScale(this);
    frmCalcING = new calc::forms::TfrmCalcING(this);
    frmCalcStart = new calc::forms::TfrmCalcStart(ctx_.doc, ctx_.settings, this);
    frmTendakaChange = new calc::forms::TfrmTendakaChange(this);
    frmtendakaSet = new calc::forms::TfrmtendakaSet(ctx_.doc, ctx_.services, this);
    frmHosyuritu = new calc::forms::TfrmHosyuritu(ctx_.settings, this);
    frmSeido = new calc::forms::TfrmSeido(ctx_.doc, ctx_.settings, this);
    frmColorScale2 = new view::forms::TfrmColorScale2(this);
    frmRedraw = new calc::forms::TfrmRedraw(this);
    fmTyuui = new TfmTyuui(this);
    frmSinki = new editor::forms::TfrmSinki(ctx_.services, this);

    if (ctx_.qtServices) {
        ctx_.qtServices->setDialogParent(this);
        ctx_.qtServices->setProgressWindow(frmCalcING);
    }
    frmCalcING->onCancel = [this] { btnRed->hide(); };

    // The window fills the screen less a strip for the task bar.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        setGeometry(r.left(), r.top(), r.width() - 10, r.height() - 25);
    }
    syncFromState();
}

TfrmMain::~TfrmMain() {
    if (ctx_.qtServices) {
        ctx_.qtServices->setProgressWindow(nullptr);
        ctx_.qtServices->setDialogParent(nullptr);
    }
}

QAction* TfrmMain::addItem(QMenu* menu, const char* name, const QString& caption, const std::function<void()>* command,
                           bool checkable) {
    auto* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    if (command) {
        connect(a, &QAction::triggered, this, [this, command] { run(*command); });
    }
    actions_[name] = a;
    return a;
}

void TfrmMain::buildMenus() {
    auto& c = commands;
    auto submenu = [this](QMenu* parent, const char* name, const QString& caption) {
        QMenu* m = parent->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        menus_[name] = m;
        actions_[name] = m->menuAction();
        return m;
    };
    auto top = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        menus_[name] = m;
        return m;
    };

    QMenu* file = top("File1", QStringLiteral("ファイル(&F)"));
    addItem(file, "New1", QStringLiteral("新規作成(&N)"), &c.New1Click);
    addItem(file, "Open1", QStringLiteral("開く(&O)"), &c.Open1Click);
    addItem(file, "Save1", QStringLiteral("上書き保存(&S)"), &c.Save1Click);
    addItem(file, "SaveAs1", QStringLiteral("名前をつけて保存(&A)"), &c.SaveAs1Click);
    file->addSeparator();
    addItem(file, "mnuDxfSave", QStringLiteral("DXFﾌｧｲﾙで保存(&H)"), &c.mnuDxfSaveClick);
    addItem(file, "mnuCsv", QStringLiteral("品番リストをcsvファイルで保存"), &c.mnuCsvClick);
    file->addSeparator();
    addItem(file, "mnuLoadBMP", QStringLiteral("BMPの読み込み(&B)"), &c.mnuLoadBMPClick);
    addItem(file, "mnuLoadDXF", QStringLiteral("DXFﾌｧｲﾙの読み込み(&D)"), &c.mnuLoadDXFClick);
    file->addSeparator();
    addItem(file, "mnuListShow", QStringLiteral("品番リストの表示"), &c.mnuListShowClick);
    addItem(file, "mnuListOut", QStringLiteral("品番リストの印刷(&L)"), &c.mnuListOutClick);
    addItem(file, "Print1", QStringLiteral("印刷(&P)"), &c.Print1Click);
    file->addSeparator();
    addItem(file, "Exit1", QStringLiteral("終了(&X)"), &c.Exit1Click);

    QMenu* edit = top("Edit1", QStringLiteral("編集(&E)"));
    addItem(edit, "mnuRedraw", QStringLiteral("再表示"), &c.mnuRedrawClick);
    addItem(edit, "mnuUndo", QStringLiteral("１つ戻す(部屋)"), &c.mnuUndoClick);
    edit->addSeparator();
    addItem(edit, "S1", QStringLiteral("縮尺の設定(&S)"), &c.S1Click);
    QMenu* dxf = submenu(edit, "mnuDXF", QStringLiteral("DXF"));
    addItem(dxf, "mnuKakudai", QStringLiteral("一部分を拡大"), &c.mnuKakudaiClick);
    addItem(dxf, "mnuModosu", QStringLiteral("元に戻す"), &c.mnuModosuClick);
    edit->addSeparator();
    addItem(edit, "mnuHaikou", QStringLiteral("配光曲線の表示"), &c.mnuHaikouClick);
    QMenu* lamp = submenu(edit, "mnuLamp", QStringLiteral("ランプ名の表示"));
    addItem(lamp, "mnuLampJ", QStringLiteral("日本語表示"), &c.mnuLampJClick, true);
    addItem(lamp, "mnuLampA", QStringLiteral("半角英数表示"), &c.mnuLampAClick, true);

    QMenu* view = top("View1", QStringLiteral("表示(&V)"));
    addItem(view, "mnuPrintBMP", QStringLiteral("BMP再表示"), &c.mnuPrintBMPClick);
    addItem(view, "mnuPrintDXF", QStringLiteral("DXF再表示"), &c.mnuPrintDXFClick);
    addItem(view, "mnuPrintGrid", QStringLiteral("グリッド表示"), &c.mnuPrintGridClick);
    addItem(view, "mnuDelHaikei", QStringLiteral("背景を消す"), &c.mnuDelHaikeiClick);
    addItem(view, "mnuDelGrid", QStringLiteral("グリッドを消す"), &c.mnuDelGridClick);
    view->addSeparator();
    QMenu* bmpSize = submenu(view, "mnuBmpSize", QStringLiteral("BMPの表示サイズ"));
    addItem(bmpSize, "mnuBmpScreen", QStringLiteral("スクリーン全面"), &c.mnuBmpScreenClick, true);
    addItem(bmpSize, "mnuBmpForm", QStringLiteral("フォーム全面"), &c.mnuBmpFormClick, true);
    addItem(bmpSize, "mnuBmpSorce", QStringLiteral("原寸"), &c.mnuBmpSorceClick, true);
    QMenu* dxfSize = submenu(view, "mnuDxfSize", QStringLiteral("DXFの表示サイズ"));
    addItem(dxfSize, "mnuDxfScreen", QStringLiteral("スクリーン全面"), &c.mnuDxfScreenClick, true);
    addItem(dxfSize, "mnuDxfForm", QStringLiteral("フォーム全面"), &c.mnuDxfFormClick, true);
    view->addSeparator();
    addItem(view, "mnuRedBunpu", QStringLiteral("照度分布(色)の表示"), &c.mnuRedBunpuClick);
    addItem(view, "mnuRedLine", QStringLiteral("照度分布(線)の表示"), &c.mnuRedLineClick);
    addItem(view, "mnuRedTemp", QStringLiteral("色温度分布の表示"), &c.mnuRedTempClick);
    QMenu* plot = submenu(view, "mnuKiguPlot", QStringLiteral("器具プロット"));
    addItem(plot, "mnuKiguShow", QStringLiteral("表示"), &c.mnuKiguShowClick, true);
    addItem(plot, "mnuKiguDel", QStringLiteral("非表示"), &c.mnuKiguDelClick, true);
    QMenu* detail = submenu(view, "mnuHyoujiSeido", QStringLiteral("表示精度"));
    addItem(detail, "mnuPrint1", QStringLiteral("詳細"), &c.mnuPrint1Click, true);
    addItem(detail, "mnuPrint3", QStringLiteral("簡易"), &c.mnuPrint3Click, true);

    QMenu* calc = top("Calc1", QStringLiteral("計算(&C)"));
    addItem(calc, "mnuCalcRun", QStringLiteral("計算の実行"), &c.mnuCalcRunClick);
    calc->addSeparator();
    addItem(calc, "mnuBunpu", QStringLiteral("照度分布"), &c.mnuBunpuClick, true);
    addItem(calc, "mnuTemp", QStringLiteral("色温度分布"), &c.mnuTempClick, true);
    addItem(calc, "mnuLine", QStringLiteral("等高線分布"), &c.mnuLineClick, true);
    calc->addSeparator();
    addItem(calc, "mnuScaleSet", QStringLiteral("照度レンジを設定する"), &c.mnuScaleSetClick);
    QMenu* range = submenu(calc, "mnuScaleSelect", QStringLiteral("照度レンジ選択"));
    addItem(range, "mnuScaleON", QStringLiteral("設定値"), &c.mnuScaleONClick, true);
    addItem(range, "mnuScaleOFF", QStringLiteral("自動"), &c.mnuScaleOFFClick, true);
    calc->addSeparator();
    addItem(calc, "mnuOutPut", QStringLiteral("照度値をcsvファイルに保存"), &c.mnuOutPutClick);
    addItem(calc, "mnuSeido", QStringLiteral("計算精度(&L)"), &c.mnuSeidoClick);
    addItem(calc, "mnuHosyuritu", QStringLiteral("保守率の設定"), &c.mnuHosyurituClick);

    QMenu* options = top("Option1", QStringLiteral("オプション(&O)"));
    addItem(options, "mnuLegendMerge", QString::fromUtf8(editor::kLegendMergeOn), &c.mnuLegendMergeClick);
    addItem(options, "mnuTempMerge", QString::fromUtf8(editor::kTempMergeOn), &c.mnuTempMergeClick);
    addItem(options, "mnuwin32file", QStringLiteral("ﾌｧｲﾙの関連づけ"), &c.mnuwin32fileClick);

    QMenu* help = top("Help1", QStringLiteral("ヘルプ(&H)"));
    addItem(help, "About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."), &c.About1Click);
}

PictureButton* TfrmMain::addButton(QLayout* layout, const char* name, const QString& hint, std::function<void()> onClick) {
    auto* b = new PictureButton(name, hint, this);
    layout->addWidget(b);
    connect(b, &PictureButton::clicked, this, [this, onClick] { run(onClick); });
    buttons_[name] = b;
    return b;
}

void TfrmMain::buildPalette(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(2);
    auto& c = commands;
    auto target = [&c](char t) { return [&c, t] { if (c.selectTarget) c.selectTarget(t); }; };
    auto toolOf = [&c](char t) { return [&c, t] { if (c.selectTool) c.selectTool(t); }; };
    auto snap = [&c](char s) { return [&c, s] { if (c.selectSnap) c.selectSnap(s); }; };
    auto gap = [row] { row->addSpacing(10); };

    addButton(row, "imgRoom", QStringLiteral("部屋形状の入力"), target('R'));
    addButton(row, "imgKigu", QStringLiteral("器具の登録と配灯"), target('K'));
    addButton(row, "imgHasira", QStringLiteral("柱の入力"), target('S'));
    gap();
    addButton(row, "imgLine", QStringLiteral("直線"), toolOf('L'));
    addButton(row, "imgL", QStringLiteral("垂直、水平線"), toolOf('+'));
    addButton(row, "imgBox", QStringLiteral("四角"), toolOf('S'));
    addButton(row, "imgArc", QStringLiteral("円弧"), toolOf('A'));
    addButton(row, "imgDelLine", QStringLiteral("線分の消去"), toolOf('D'));
    addButton(row, "imgKigu1", QStringLiteral("単体入力"), toolOf('1'));
    addButton(row, "imgKigu2", QStringLiteral("直線配灯"), toolOf('2'));
    addButton(row, "imgKigu3", QStringLiteral("格子配灯"), toolOf('3'));
    addButton(row, "imgDelKigu", QStringLiteral("器具の消去"), toolOf('d'));
    addButton(row, "imgTakasa", QStringLiteral("器具高さの変更"), toolOf('H'));
    addButton(row, "imgFLyoko", QStringLiteral("FL横置き"), [&c] { if (c.selectFl) c.selectFl(false); });
    addButton(row, "imgFLtate", QStringLiteral("FL縦置き"), [&c] { if (c.selectFl) c.selectFl(true); });
    addButton(row, "imgEntyuu", QStringLiteral("円柱を配置"), [&c] { if (c.selectPillarKind) c.selectPillarKind('C'); });
    addButton(row, "imgKakutyuu", QStringLiteral("角柱を配置"), [&c] { if (c.selectPillarKind) c.selectPillarKind('S'); });
    addButton(row, "imgHasira1", QStringLiteral("単体配置"), toolOf('1'));
    addButton(row, "imgHasira2", QStringLiteral("直線配置"), toolOf('2'));
    addButton(row, "imgHasira3", QStringLiteral("格子配置"), toolOf('3'));
    addButton(row, "imgHasiraDel", QStringLiteral("柱の消去"), toolOf('d'));
    labHasira = new QLabel(QStringLiteral("□"), panel);
    labHasira->setObjectName(QStringLiteral("labHasira"));
    txtHasira = new QLineEdit(panel);
    txtHasira->setObjectName(QStringLiteral("txtHasira"));
    txtHasira->setFixedWidth(60);
    ui::qt::IntegerKeyFilter::install(txtHasira);
    labHasiraMm = new QLabel(QStringLiteral("mm"), panel);
    labHasiraMm->setObjectName(QStringLiteral("labHasiraMm"));
    row->addWidget(labHasira);
    row->addWidget(txtHasira);
    row->addWidget(labHasiraMm);
    connect(txtHasira, &QLineEdit::textEdited, this, [this](const QString& text) {
        ctx_.doc.hasiraSizeText = ss(text);
        run(commands.hasiraSizeChanged);
    });
    rbtnKosuu = new QRadioButton(QStringLiteral("個数入力"), panel);
    rbtnKosuu->setObjectName(QStringLiteral("rbtnKosuu"));
    rbtnPitch = new QRadioButton(QStringLiteral("ﾋﾟｯﾁ入力"), panel);
    rbtnPitch->setObjectName(QStringLiteral("rbtnPitch"));
    row->addWidget(rbtnKosuu);
    row->addWidget(rbtnPitch);
    connect(rbtnKosuu, &QRadioButton::clicked, this, [this] {
        run([this] { if (commands.selectArrayInput) commands.selectArrayInput('K'); });
    });
    connect(rbtnPitch, &QRadioButton::clicked, this, [this] {
        run([this] { if (commands.selectArrayInput) commands.selectArrayInput('P'); });
    });
    gap();
    addButton(row, "imgFree", QStringLiteral("フリー"), snap('F'));
    addButton(row, "imgEdge", QStringLiteral("端点"), snap('E'));
    addButton(row, "imgGrid", QStringLiteral("グリッド"), snap('G'));
    gap();
    addButton(row, "imgCalc", QStringLiteral("照度分布の計算"), [&c] { if (c.imgCalcClick) c.imgCalcClick(); });
    row->addStretch(1);
}

void TfrmMain::buildStatusPanel(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 2, 6, 2);
    auto label = [panel, row](const char* name, int minWidth) {
        auto* l = new QLabel(panel);
        l->setObjectName(QString::fromLatin1(name));
        l->setMinimumWidth(minWidth);
        row->addWidget(l);
        return l;
    };
    auto button = [this, panel, row](const char* name, const QString& caption, const std::function<void()>* command) {
        auto* b = new QPushButton(caption, panel);
        b->setObjectName(QString::fromLatin1(name));
        row->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, command] { run(*command); });
        return b;
    };
    labScale = label("labScale", 150);
    labMax = label("labMax", 150);
    labPointLx = label("labPointLx", 90);
    labScaleType = label("labScaleType", 170);
    labBikou = label("labBikou", 200);
    row->addStretch(1);
    labKijun = label("labKijun", 0);
    labKijun->setText(QStringLiteral("基準"));
    labTendaka = label("labTendaka", 50);
    btnHenkou = button("btnHenkou", QStringLiteral("変更"), &commands.btnHenkouClick);
    btnSuuti = button("btnSuuti", QStringLiteral("数値入力"), &commands.btnSuutiClick);
    Button3 = button("Button3", QStringLiteral("再表示"), &commands.Button3Click);
    btnRed = button("btnRed", QStringLiteral("分布図消去"), &commands.btnRedClick);
}

QAction* TfrmMain::action(const std::string& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

PictureButton* TfrmMain::button(const std::string& name) const {
    const auto it = buttons_.find(name);
    return it == buttons_.end() ? nullptr : it->second;
}

void TfrmMain::run(const std::function<void()>& command) {
    if (command) ui::qt::guarded(ctx_.services, command);
    syncFromState();
}

void TfrmMain::setAutoScroll(bool on) {
    autoScroll_ = on;
    const auto policy = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    ScrollBox1->setHorizontalScrollBarPolicy(policy);
    ScrollBox1->setVerticalScrollBarPolicy(policy);
}

int TfrmMain::planAreaHeight() const {
    const int client = height() - (menuBar() ? menuBar()->height() : 0);
    return client - palettePanel_->height() - statusPanel_->height();
}

void TfrmMain::setCalcPressed(bool pressed) {
    calcPressed_ = pressed;
    if (auto* b = button("imgCalc")) b->showPicture(pressed ? Picture::On : Picture::Off);
}

void TfrmMain::syncFromState() {
    if (syncing_) return;
    syncing_ = true;
    if (beforeSync) beforeSync();
    const model::Document& doc = ctx_.doc;
    setWindowTitle(qs(doc.windowTitle));

    const auto palette = editor::paletteViewOf(doc, calcPressed_);
    for (const auto& [name, view] : palette) {
        if (PictureButton* b = button(name)) {
            b->setVisible(view.visible);
            b->setEnabled(view.enabled);
            b->showPicture(view.picture);
        }
    }
    auto showIf = [&](QWidget* w, const char* name) { w->setVisible(palette.at(name).visible); };
    showIf(txtHasira, "txtHasira");
    showIf(labHasira, "labHasira");
    showIf(labHasiraMm, "labHasiraMm");
    showIf(rbtnKosuu, "rbtnKosuu");
    showIf(rbtnPitch, "rbtnPitch");
    rbtnKosuu->setChecked(doc.arrayInput == 'K');
    rbtnPitch->setChecked(doc.arrayInput == 'P');
    labHasira->setText(qs(editor::pillarSizeLabel(doc)));
    if (txtHasira->text() != qs(doc.hasiraSizeText)) txtHasira->setText(qs(doc.hasiraSizeText));

    const int cursor = editor::cursorNumberFor(doc);
    if (cursor != cursorShown_) {
        cursorShown_ = cursor;
        Image1->setCursor(ui::qt::programCursor(cursor));
    }

    for (const auto& [name, view] : editor::menuViewOf(doc, ctx_.settings)) {
        QAction* a = action(name);
        if (!a) continue;
        a->setVisible(view.visible);
        a->setEnabled(view.enabled);
        if (a->isCheckable()) a->setChecked(view.checked);
        if (!view.caption.empty()) a->setText(qs(view.caption));
    }

    labScale->setText(qs(doc.scaleLabel));
    labMax->setText(qs(doc.maxLuxLabel));
    labPointLx->setText(qs(doc.pointLuxLabel));
    labScaleType->setText(qs(doc.scaleTypeLabel));
    labBikou->setText(qs(doc.bikouLabel));
    labTendaka->setText(qs(doc.tenDakaLabel));

    if (doc.surfaceHint.empty()) {
        if (QToolTip::isVisible()) QToolTip::hideText();
    } else {
        QToolTip::showText(QCursor::pos(), qs(doc.surfaceHint), Image1);
    }
    Image1->fitToSurface();
    Image1->update();
    syncing_ = false;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool allowed = true;
    ui::qt::guarded(ctx_.services, [&] {
        if (commands.closeQuery) allowed = commands.closeQuery();
    });
    if (!allowed) {
        event->ignore();
        return;
    }
    frmColorScale2->hide();
    frmTempScale->hide();
    event->accept();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (commands.resized) run(commands.resized);
}

} // namespace app::forms
