// The main window: builds the palette, menus and status panel and shows the one window state in them.
#include "app/forms/TfrmMain.h"

#include "app/forms/PalettePictures.h"
#include "app/forms/StartupWindows.h"
#include "calc/forms/TfrmCalcING.h"
#include "calc/forms/TfrmCalcStart.h"
#include "calc/forms/TfrmHansya.h"
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

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
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
    if (event->button() != Qt::LeftButton || !isEnabled()) return;
    if (actOnRelease_) {
        showPicture(Picture::On);
    } else {
        emit clicked();
    }
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (!actOnRelease_ || event->button() != Qt::LeftButton) return;
    showPicture(Picture::Off);
    if (isEnabled() && rect().contains(event->position().toPoint())) emit clicked();
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

    ScrollBox1 = new PlanView(ctx_.surface, central);
    Image1 = ScrollBox1->image();
    setAutoScroll(false);

    auto* status = new QFrame(central);
    status->setObjectName(QStringLiteral("Panel2"));
    status->setFrameShape(QFrame::StyledPanel);
    buildStatusPanel(status);

    // The pointer read-out has a bar of its own under the status panel, whose labels fill a small screen.
    labPointerMm = new QLabel(this);
    labPointerMm->setObjectName(QStringLiteral("labPointerMm"));
    labPointerMm->setMinimumWidth(QFontMetrics(labPointerMm->font()).horizontalAdvance(
        QStringLiteral("X: 99999 mm  Y: 99999 mm  長さ: 99999 mm  角度: 359.9°")));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addPermanentWidget(labPointerMm);
    labSelection = new QLabel(this);
    labSelection->setObjectName(QStringLiteral("labSelection"));
    labSelection->setMinimumWidth(QFontMetrics(labSelection->font()).horizontalAdvance(QStringLiteral("選択: 99999 個")));
    statusBar()->addWidget(labSelection);

    palettePanel_ = palette;
    statusPanel_ = status;
    Timer1 = new QTimer(this);
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, Timer1, &QTimer::stop);
    layout->addWidget(palette);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(status);
    setCentralWidget(central);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    menus_["PopupMenu1"] = PopupMenu1;
    buildMenus();
    bindZoomCommands();

    Image1->onMouseDown = [this](const ui::MouseEvent& e) {
        run([&] {
            if (commands.mouseDown) commands.mouseDown(e);
        });
    };
    Image1->onMouseMove = [this](const ui::MouseEvent& e) {
        run([&] {
            if (commands.mouseMove) commands.mouseMove(e);
        });
    };
    Image1->onMouseUp = [this](const ui::MouseEvent& e) {
        run([&] {
            if (commands.mouseUp) commands.mouseUp(e);
        });
    };

    createWindows();

    if (ctx_.qtServices) {
        ctx_.qtServices->setDialogParent(this);
        ctx_.qtServices->setProgressWindow(frmCalcING);
    }
    frmCalcING->onCancel = [this] { btnRed->hide(); };

    fillScreen();
    syncFromState();
}

// The windows of the system the main window shows, created once in the order of start-up.
void TfrmMain::createWindows() {
    frmLen = new editor::forms::TfrmLen(ctx_.services, this);
    frmLxScale = new view::forms::TfrmLxScale(ctx_.doc, ctx_.window, ctx_.services, this);
    frmVersion = new TfrmVersion(this);
    frmTempScale = new view::forms::TfrmTempScale(this);
    frmCalcING = new calc::forms::TfrmCalcING(this);
    frmCalcStart = new calc::forms::TfrmCalcStart(ctx_.doc, ctx_.window, ctx_.settings, this);
    frmTendakaChange = new calc::forms::TfrmTendakaChange(this);
    frmtendakaSet = new calc::forms::TfrmtendakaSet(ctx_.doc, ctx_.services, this);
    frmHosyuritu = new calc::forms::TfrmHosyuritu(ctx_.settings, this);
    frmSeido = new calc::forms::TfrmSeido(ctx_.doc, ctx_.window, ctx_.settings, this);
    frmHansya = new calc::forms::TfrmHansya(ctx_.doc, ctx_.window, ctx_.services, this);
    frmColorScale2 = new view::forms::TfrmColorScale2(this);
    frmRedraw = new calc::forms::TfrmRedraw(this);
    fmTyuui = new TfmTyuui(this);
    frmSinki = new editor::forms::TfrmSinki(ctx_.services, this);
}

TfrmMain::~TfrmMain() {
    if (ctx_.qtServices) {
        ctx_.qtServices->setProgressWindow(nullptr);
        ctx_.qtServices->setDialogParent(nullptr);
    }
}

namespace {

// Every menu of the window in order: top menus (no parent), submenus, items ('x' checkable), separators ("-").
struct MenuEntry {
    const char* parent;
    const char* name;
    const char* caption;
    char kind;  // 'T' top menu, 'M' submenu, 'I' item, 'x' checkable item, '-' separator
};
constexpr MenuEntry kMenus[] = {
    {nullptr, "File1", "ファイル(&F)", 'T'},
    {"File1", "New1", "新規作成(&N)", 'I'},
    {"File1", "Open1", "開く(&O)", 'I'},
    {"File1", "Save1", "上書き保存(&S)", 'I'},
    {"File1", "SaveAs1", "名前をつけて保存(&A)", 'I'},
    {"File1", "mnuRecent", "最近使ったファイル", 'M'},
    {"File1", "", "", '-'},
    {"File1", "mnuDxfSave", "DXFﾌｧｲﾙで保存(&H)", 'I'},
    {"File1", "mnuCsv", "品番リストをcsvファイルで保存", 'I'},
    {"File1", "", "", '-'},
    {"File1", "mnuLoadBMP", "BMPの読み込み(&B)", 'I'},
    {"File1", "mnuLoadDXF", "DXFﾌｧｲﾙの読み込み(&D)", 'I'},
    {"File1", "mnuDxfWalls", "DXFから壁を作成...", 'I'},
    {"File1", "", "", '-'},
    {"File1", "mnuListShow", "品番リストの表示", 'I'},
    {"File1", "mnuListOut", "品番リストの印刷(&L)", 'I'},
    {"File1", "mnuListPreview", "品番リストの印刷プレビュー", 'I'},
    {"File1", "Print1", "印刷(&P)", 'I'},
    {"File1", "mnuPreview", "印刷プレビュー", 'I'},
    {"File1", "mnuPdf", "PDF に出力", 'I'},
    {"File1", "mnuReport", "設計レポート(PDF)...", 'I'},
    {"File1", "mnuReportPreview", "設計レポートの印刷プレビュー", 'I'},
    {"File1", "", "", '-'},
    {"File1", "Exit1", "終了(&X)", 'I'},
    {nullptr, "Edit1", "編集(&E)", 'T'},
    {"Edit1", "mnuRedraw", "再表示", 'I'},
    {"Edit1", "mnuUndo", "１つ戻す(部屋)", 'I'},
    {"Edit1", "mnuRedo", "やり直し", 'I'},
    {"Edit1", "mnuDeleteTool", "消去", 'I'},
    {"Edit1", "mnuCancelOp", "操作の中止", 'I'},
    {"Edit1", "mnuSelection", "選択", 'M'},
    {"mnuSelection", "mnuSelectAll", "すべて選択", 'I'},
    {"mnuSelection", "mnuMoveSel", "移動...", 'I'},
    {"mnuSelection", "mnuCopySel", "複写...", 'I'},
    {"mnuSelection", "mnuRotateSel", "回転...", 'I'},
    {"mnuSelection", "mnuMirrorLR", "鏡像(左右)", 'I'},
    {"mnuSelection", "mnuMirrorUD", "鏡像(上下)", 'I'},
    {"mnuSelection", "mnuPropertiesSel", "プロパティ...", 'I'},
    {"Edit1", "mnuEvenLayout", "均等配置...", 'I'},
    {"Edit1", "", "", '-'},
    {"Edit1", "S1", "縮尺の設定(&S)", 'I'},
    {"Edit1", "mnuDXF", "DXF", 'M'},
    {"mnuDXF", "mnuKakudai", "一部分を拡大", 'I'},
    {"mnuDXF", "mnuModosu", "元に戻す", 'I'},
    {"Edit1", "", "", '-'},
    {"Edit1", "mnuHaikou", "配光曲線の表示", 'I'},
    {"Edit1", "mnuPowerTable", "器具・電力の表示", 'I'},
    {"Edit1", "mnuLamp", "ランプ名の表示", 'M'},
    {"mnuLamp", "mnuLampJ", "日本語表示", 'x'},
    {"mnuLamp", "mnuLampA", "半角英数表示", 'x'},
    {nullptr, "View1", "表示(&V)", 'T'},
    {"View1", "mnuPrintBMP", "BMP再表示", 'I'},
    {"View1", "mnuPrintDXF", "DXF再表示", 'I'},
    {"View1", "mnuPrintGrid", "グリッド表示", 'I'},
    {"View1", "mnuDelHaikei", "背景を消す", 'I'},
    {"View1", "mnuDelGrid", "グリッドを消す", 'I'},
    {"View1", "", "", '-'},
    {"View1", "mnuZoomIn", "拡大表示", 'I'},
    {"View1", "mnuZoomOut", "縮小表示", 'I'},
    {"View1", "mnuZoomFit", "全体表示", 'I'},
    {"View1", "", "", '-'},
    {"View1", "mnuBmpSize", "BMPの表示サイズ", 'M'},
    {"mnuBmpSize", "mnuBmpScreen", "スクリーン全面", 'x'},
    {"mnuBmpSize", "mnuBmpForm", "フォーム全面", 'x'},
    {"mnuBmpSize", "mnuBmpSorce", "原寸", 'x'},
    {"View1", "mnuDxfSize", "DXFの表示サイズ", 'M'},
    {"mnuDxfSize", "mnuDxfScreen", "スクリーン全面", 'x'},
    {"mnuDxfSize", "mnuDxfForm", "フォーム全面", 'x'},
    {"View1", "", "", '-'},
    {"View1", "mnuRedBunpu", "照度分布(色)の表示", 'I'},
    {"View1", "mnuRedLine", "照度分布(線)の表示", 'I'},
    {"View1", "mnuRedTemp", "色温度分布の表示", 'I'},
    {"View1", "mnuKiguPlot", "器具プロット", 'M'},
    {"mnuKiguPlot", "mnuKiguShow", "表示", 'x'},
    {"mnuKiguPlot", "mnuKiguDel", "非表示", 'x'},
    {"View1", "mnuHyoujiSeido", "表示精度", 'M'},
    {"mnuHyoujiSeido", "mnuPrint1", "詳細", 'x'},
    {"mnuHyoujiSeido", "mnuPrint3", "簡易", 'x'},
    {nullptr, "Calc1", "計算(&C)", 'T'},
    {"Calc1", "mnuCalcRun", "計算の実行", 'I'},
    {"Calc1", "", "", '-'},
    {"Calc1", "mnuBunpu", "照度分布", 'x'},
    {"Calc1", "mnuTemp", "色温度分布", 'x'},
    {"Calc1", "mnuLine", "等高線分布", 'x'},
    {"Calc1", "", "", '-'},
    {"Calc1", "mnuScaleSet", "照度レンジを設定する", 'I'},
    {"Calc1", "mnuScaleSelect", "照度レンジ選択", 'M'},
    {"mnuScaleSelect", "mnuScaleON", "設定値", 'x'},
    {"mnuScaleSelect", "mnuScaleOFF", "自動", 'x'},
    {"Calc1", "", "", '-'},
    {"Calc1", "mnuSeido", "計算精度(&L)", 'I'},
    {"Calc1", "mnuHosyuritu", "保守率の設定", 'I'},
    {nullptr, "Option1", "オプション(&O)", 'T'},
    {"Option1", "mnuHansya", "相互反射の設定...", 'I'},
    {"Option1", "", "", '-'},
    {"Option1", "mnuLegendMerge", editor::kLegendMergeOn, 'I'},
    {"Option1", "mnuTempMerge", editor::kTempMergeOn, 'I'},
    {"Option1", "mnuwin32file", "ﾌｧｲﾙの関連づけ", 'I'},
    {"Option1", "mnuOutPut", "照度値をcsvファイルに保存", 'I'},
    {"Option1", "mnuOutPutXy", "照度値をcsvファイルに保存(座標付き)...", 'I'},
    {nullptr, "Help1", "ヘルプ(&H)", 'T'},
    {"Help1", "About1", "ﾊﾞｰｼﾞｮﾝ情報(&A)...", 'I'},
    {"PopupMenu1", "pmnuCopy", "ｺﾋﾟｰ(&C)", 'I'},
    {"PopupMenu1", "pmnuSave", "ﾌｧｲﾙに保存(&S)", 'I'},
};

// The keys of the commands every editor offers; the menus show them beside the captions.
struct ShortcutEntry {
    const char* name;
    QKeyCombination keys[2];
};
const ShortcutEntry kShortcuts[] = {
    {"New1", {Qt::CTRL | Qt::Key_N}},
    {"Open1", {Qt::CTRL | Qt::Key_O}},
    {"Save1", {Qt::CTRL | Qt::Key_S}},
    {"SaveAs1", {Qt::CTRL | Qt::SHIFT | Qt::Key_S}},
    {"Print1", {Qt::CTRL | Qt::Key_P}},
    {"mnuUndo", {Qt::CTRL | Qt::Key_Z}},
    {"mnuRedo", {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}},
    {"mnuCalcRun", {QKeyCombination(Qt::Key_F5)}},
    {"mnuCancelOp", {QKeyCombination(Qt::Key_Escape)}},
    {"mnuDeleteTool", {QKeyCombination(Qt::Key_Delete)}},
    {"mnuSelectAll", {Qt::CTRL | Qt::Key_A}},
};

// The arrow keys move a selection by one plan pixel, with Shift by ten; enabled only while there is one,
// so that otherwise they scroll the plan as before.
struct NudgeEntry {
    const char* name;
    QKeyCombination keys;
    int dx, dy;
};
const NudgeEntry kNudges[] = {
    {"actNudgeLeft", QKeyCombination(Qt::Key_Left), -1, 0},
    {"actNudgeRight", QKeyCombination(Qt::Key_Right), 1, 0},
    {"actNudgeUp", QKeyCombination(Qt::Key_Up), 0, -1},
    {"actNudgeDown", QKeyCombination(Qt::Key_Down), 0, 1},
    {"actNudgeLeft10", Qt::SHIFT | Qt::Key_Left, -10, 0},
    {"actNudgeRight10", Qt::SHIFT | Qt::Key_Right, 10, 0},
    {"actNudgeUp10", Qt::SHIFT | Qt::Key_Up, 0, -10},
    {"actNudgeDown10", Qt::SHIFT | Qt::Key_Down, 0, 10},
};

} // namespace

QAction* TfrmMain::addItem(QMenu* menu, const char* name, const QString& caption, bool checkable) {
    auto* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    const std::string command = name;
    commands.declare(command);
    connect(a, &QAction::triggered, this, [this, command] { run(commands.handler(command)); });
    actions_[name] = a;
    return a;
}

void TfrmMain::buildMenus() {
    for (const MenuEntry& e : kMenus) {
        const QString caption = QString::fromUtf8(e.caption);
        if (e.kind == 'T') {
            QMenu* m = menuBar()->addMenu(caption);
            m->setObjectName(QString::fromLatin1(e.name));
            menus_[e.name] = m;
            continue;
        }
        QMenu* parent = menus_.at(e.parent);
        if (e.kind == '-') {
            parent->addSeparator();
        } else if (e.kind == 'M') {
            QMenu* m = parent->addMenu(caption);
            m->setObjectName(QString::fromLatin1(e.name));
            menus_[e.name] = m;
            actions_[e.name] = m->menuAction();
        } else {
            addItem(parent, e.name, caption, e.kind == 'x');
        }
    }
    for (const ShortcutEntry& e : kShortcuts) {
        QList<QKeySequence> keys;
        for (const QKeyCombination& k : e.keys) {
            if (k.key() != Qt::Key_unknown) keys << QKeySequence(k);  // the unused second key
        }
        actions_.at(e.name)->setShortcuts(keys);
    }
    for (const NudgeEntry& e : kNudges) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(e.name));
        a->setShortcut(QKeySequence(e.keys));
        addAction(a);
        const int dx = e.dx, dy = e.dy;
        connect(a, &QAction::triggered, this, [this, dx, dy] {
            run([this, dx, dy] {
                if (commands.nudge) commands.nudge(dx, dy);
            });
        });
        actions_[e.name] = a;
    }
}

void TfrmMain::showRecentFiles(const QStringList& paths) {
    QMenu* menu = menus_.at("mnuRecent");
    // The items stay and only change their texts: the list changes while one of them is being handled.
    while (menu->actions().size() < paths.size()) {
        QAction* a = menu->addAction(QString());
        connect(a, &QAction::triggered, this, [this, a] {
            const std::string path = ss(a->data().toString());
            run([this, &path] {
                if (commands.openRecent) commands.openRecent(path);
            });
        });
    }
    const QList<QAction*> items = menu->actions();
    for (int i = 0; i < items.size(); ++i) {
        const bool used = i < paths.size();
        // "&1 name.OLE", the whole path as the tip.
        const QString name = used ? QFileInfo(paths[i]).fileName().replace('&', QStringLiteral("&&")) : QString();
        items[i]->setText(used ? QStringLiteral("&%1 %2").arg(i + 1).arg(name) : QString());
        items[i]->setToolTip(used ? paths[i] : QString());
        items[i]->setData(used ? paths[i] : QString());
        items[i]->setVisible(used);
    }
    menu->menuAction()->setEnabled(!paths.isEmpty());
}

PictureButton* TfrmMain::addButton(QLayout* layout, const char* name, const QString& hint) {
    auto* b = new PictureButton(name, hint, this);
    layout->addWidget(b);
    const std::string command = name;
    commands.declare(command);
    connect(b, &PictureButton::clicked, this, [this, command] { run(commands.handler(command)); });
    buttons_[name] = b;
    return b;
}

void TfrmMain::buildPalette(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(2);
    auto gap = [row] { row->addSpacing(10); };
    auto add = [this, row](const char* name, const char* hint) { addButton(row, name, QString::fromUtf8(hint)); };

    add("imgRoom", "部屋形状の入力");
    add("imgKigu", "器具の登録と配灯");
    add("imgHasira", "柱の入力");
    gap();
    add("imgSelect", "選択");
    add("imgLine", "直線");
    add("imgL", "垂直、水平線");
    add("imgBox", "四角");
    add("imgArc", "円弧");
    add("imgDelLine", "線分の消去");
    // "線分のカット" acts on release inside the button; pressing only shows its ON picture.
    add("imgCut", "線分のカット");
    buttons_["imgCut"]->actOnRelease();
    add("imgArea", "作業領域");
    add("imgDelArea", "作業領域の消去");
    add("imgKigu1", "単体入力");
    add("imgKigu2", "直線配灯");
    add("imgKigu3", "格子配灯");
    add("imgDelKigu", "器具の消去");
    add("imgTakasa", "器具高さの変更");
    add("imgFLyoko", "FL横置き");
    add("imgFLtate", "FL縦置き");
    add("imgEntyuu", "円柱を配置");
    add("imgKakutyuu", "角柱を配置");
    add("imgHasira1", "単体配置");
    add("imgHasira2", "直線配置");
    add("imgHasira3", "格子配置");
    add("imgHasiraDel", "柱の消去");
    labHasira = new QLabel(QStringLiteral("□"), panel);
    labHasira->setObjectName(QStringLiteral("labHasira"));
    txtHasira = new QLineEdit(panel);
    txtHasira->setObjectName(QStringLiteral("txtHasira"));
    txtHasira->setToolTip(QStringLiteral("柱のサイズ"));
    txtHasira->setFixedWidth(60);
    ui::qt::IntegerKeyFilter::install(txtHasira);
    labHasiraMm = new QLabel(QStringLiteral("mm"), panel);
    labHasiraMm->setObjectName(QStringLiteral("labHasiraMm"));
    row->addWidget(labHasira);
    row->addWidget(txtHasira);
    row->addWidget(labHasiraMm);
    // The edit's text is the pillar size the next pillar is placed with.
    connect(txtHasira, &QLineEdit::textEdited, this, [this](const QString& text) { ctx_.window.hasiraSizeText = ss(text); });
    auto radio = [this, panel, row](const char* name, const QString& caption) {
        auto* r = new QRadioButton(caption, panel);
        r->setObjectName(QString::fromLatin1(name));
        // The line and grid tools show the choice; its place stays kept while hidden, so the snap and
        // calculation buttons after it do not jump under the pointer.
        QSizePolicy keepPlace = r->sizePolicy();
        keepPlace.setRetainSizeWhenHidden(true);
        r->setSizePolicy(keepPlace);
        row->addWidget(r);
        const std::string command = name;
        commands.declare(command);
        connect(r, &QRadioButton::clicked, this, [this, command] { run(commands.handler(command)); });
        return r;
    };
    rbtnKosuu = radio("rbtnKosuu", QStringLiteral("個数入力"));
    rbtnPitch = radio("rbtnPitch", QStringLiteral("ﾋﾟｯﾁ入力"));
    gap();
    add("imgFree", "フリー");
    add("imgEdge", "端点");
    add("imgGrid", "グリッド");
    gap();
    add("imgCalc", "照度分布の計算");
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
    auto button = [this, panel, row](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, panel);
        b->setObjectName(QString::fromLatin1(name));
        row->addWidget(b);
        const std::string command = name;
        commands.declare(command);
        connect(b, &QPushButton::clicked, this, [this, command] { run(commands.handler(command)); });
        return b;
    };
    labScale = label("labScale", 150);
    labMax = label("labMax", 150);
    labPointLx = label("labPointLx", 90);
    labScaleType = label("labScaleType", 170);
    labBikou = label("labBikou", 140);  // narrower since the 計算高さ caption joined the row: the row fits 1280 pixels
    labHansya = label("labHansya", 0);  // empty unless the result holds reflected light
    row->addStretch(1);
    labTendakaCaption = label("labTendakaCaption", 0);
    labTendakaCaption->setText(QStringLiteral("計算高さ"));
    labKijun = label("labKijun", 0);
    labKijun->setText(QStringLiteral("基準"));
    labTendaka = label("labTendaka", 50);
    btnHenkou = button("btnHenkou", QStringLiteral("変更"));
    btnSuuti = button("btnSuuti", QStringLiteral("数値入力"));
    Button3 = button("Button3", QStringLiteral("再表示"));
    btnRed = button("btnRed", QStringLiteral("分布図消去"));
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
    // The calculation reads the plan and the fixture table while its progress window lets events through:
    // nothing else may run until it ends.
    if (calcPressed_) return;
    if (command) ui::qt::guarded(ctx_.services, command);
    syncFromState();
}

void TfrmMain::fillScreen() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect desk = s->availableGeometry();
    // The frame the window system draws round the client area is known once the window was shown; before
    // that a title bar and a thin border of the style's size are left for it.
    QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull()) {
        const int border = 4;
        frame = QMargins(border, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + border, border, border);
    }
    setGeometry(desk.marginsRemoved(frame));
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A window system that frames the window makes its title bar known only now: once, the window is
    // fitted again so that the frame and not the client area lies on the screen.
    if (placedWithFrame_) return;
    QTimer::singleShot(200, this, [this] {
        const QScreen* s = screen();
        if (placedWithFrame_ || !s || frameGeometry() == geometry()) return;
        placedWithFrame_ = true;
        if (!s->availableGeometry().contains(frameGeometry()) && !isMaximized() && !isFullScreen()) fillScreen();
    });
}

void TfrmMain::setAutoScroll(bool on) {
    autoScroll_ = on;
    ScrollBox1->setAutoScroll(on);
}

void TfrmMain::bindZoomCommands() {
    // The zoom is the view's own: the plan, its pixels and every output stay as they are. The editor
    // learns it for the pointer's reach, which is measured on the screen.
    ScrollBox1->onZoomChanged = [this](double zoom) { ctx_.window.zoom = zoom; };
    commands.bind("mnuZoomIn", [this] { ScrollBox1->zoomSteps(1, ScrollBox1->pointerOrCentre()); });
    commands.bind("mnuZoomOut", [this] { ScrollBox1->zoomSteps(-1, ScrollBox1->pointerOrCentre()); });
    commands.bind("mnuZoomFit", [this] { ScrollBox1->fitWhole(); });
    action("mnuZoomIn")->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::KeypadModifier | Qt::Key_Plus),
                                       QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    action("mnuZoomOut")->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus),
                                        QKeySequence(Qt::CTRL | Qt::Key_Minus)});
}

int TfrmMain::planAreaHeight() const {
    const int client = height() - (menuBar() ? menuBar()->height() : 0) - statusBar()->height();
    return client - palettePanel_->height() - statusPanel_->height();
}

QRect TfrmMain::planAreaOnScreen() const {
    const QRect area(ScrollBox1->mapToGlobal(QPoint(0, 0)), ScrollBox1->size());
    const QScreen* s = screen();
    return s ? area.intersected(s->availableGeometry()) : area;
}

void TfrmMain::setCalcPressed(bool pressed) {
    calcPressed_ = pressed;
    if (auto* b = button("imgCalc")) b->showPicture(pressed ? Picture::On : Picture::Off);
}

void TfrmMain::syncFromState() {
    if (syncing_) return;
    syncing_ = true;
    const model::Document& doc = ctx_.doc;
    const editor::WindowState& window = ctx_.window;
    setWindowTitle(qs(window.windowTitle));
    // The title's "[*]" shows the platform's mark while closing would offer to save.
    setWindowModified(model::hasUnsavedChanges(doc));

    const auto palette = editor::paletteViewOf(doc, ctx_.window, calcPressed_);
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
    labHasira->setText(qs(editor::pillarSizeLabel(ctx_.window)));
    if (txtHasira->text() != qs(window.hasiraSizeText)) txtHasira->setText(qs(window.hasiraSizeText));

    const int cursor = editor::cursorNumberFor(ctx_.window);
    if (cursor != cursorShown_) {
        cursorShown_ = cursor;
        Image1->setCursor(ui::qt::programCursor(cursor));
    }

    for (const auto& [name, view] : editor::menuViewOf(doc, ctx_.window, ctx_.settings)) {
        QAction* a = action(name);
        if (!a) continue;
        a->setVisible(view.visible);
        a->setEnabled(view.enabled);
        if (a->isCheckable()) a->setChecked(view.checked);
        if (!view.caption.empty()) a->setText(qs(view.caption));
    }

    labScale->setText(qs(window.scaleLabel));
    labMax->setText(qs(window.maxLuxLabel));
    labPointLx->setText(qs(window.pointLuxLabel));
    labScaleType->setText(qs(window.scaleTypeLabel));
    labBikou->setText(qs(window.bikouLabel));
    labHansya->setText(qs(window.reflectionLabel));
    labHansya->setVisible(!window.reflectionLabel.empty());
    labPointerMm->setText(qs(ctx_.window.pointerReadout));
    labSelection->setText(qs(editor::selectionCountText(doc, window)));
    Image1->setOverlay(editor::selectionOutlines(doc.plan, editor::liveSelection(doc.planRevision, window), window.dragOffset));
    labTendaka->setText(qs(doc.tenDakaLabel));

    if (ctx_.window.surfaceHint.empty()) {
        if (QToolTip::isVisible()) QToolTip::hideText();
    } else {
        QToolTip::showText(QCursor::pos(), qs(ctx_.window.surfaceHint), Image1);
    }
    Image1->fitToSurface();
    Image1->update();
    syncing_ = false;
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || !commands.escapeKey) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    run(commands.escapeKey);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (calcPressed_) {  // the running calculation still reads the plan
        event->ignore();
        return;
    }
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
