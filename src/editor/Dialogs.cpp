// The length dialog's configuration and validation, the new-plan dialog's enabling, the numeric key filter.
#include "editor/Dialogs.h"

#include "base/Cp932.h"
#include "base/Text.h"

namespace editor {

bool numericKeyAccepted(const ui::KeyEvent& key) {
    const int k = key.key;
    if (k >= '0' && k <= '9') return true;
    if (k == ui::KeyEvent::kBackspace || k == ui::KeyEvent::kEnter) return true;
    if (k >= 0x25 && k <= 0x28) return true;
    return k == '-';
}

ui::Point lengthDialogPosition(ui::Point click, ui::Size dialog, ui::Size screen) {
    ui::Point p{click.x + 10, click.y + 25};
    if (p.x + dialog.width > screen.width) p.x = click.x - 10 - dialog.width;
    if (p.y + dialog.height > screen.height) p.y = click.y - 25 - dialog.height;
    return p;
}

void LengthDialogModel::configure(char kind, char tool) {
    kind_ = kind;
    if (kind != 'H') {
        txtX.clear();
        txtY.clear();
    }
    switch (kind) {
    case 'K':
        labX_ = "個数入力";
        labY_ = "個数入力(Y)";
        unitX_ = unitY_ = false;
        break;
    case 'P':
        labX_ = "ﾋﾟｯﾁ入力";
        labY_ = "ﾋﾟｯﾁ入力(Y)";
        unitX_ = unitY_ = true;
        break;
    case 'H':
        labX_ = "計算高さ";
        unitX_ = true;
        break;
    case 'M':
        labX_ = "実寸で";
        unitX_ = true;
        secondRow_ = false;
        break;
    case 'L':
        caption_ = "数値入力";
        labX_ = "Ｘ(mm)";
        labY_ = "Ｙ(mm)";
        unitX_ = unitY_ = true;
        secondRow_ = true;
        break;
    default:
        break;
    }
    switch (tool) {
    case '2':
        caption_ = "直線配灯";
        secondRow_ = false;
        break;
    case 'H':
        caption_ = "器具高さの変更";
        secondRow_ = false;
        break;
    case 'M':
        caption_ = "縮尺設定";
        secondRow_ = false;
        break;
    case '3':
        caption_ = "格子配灯";
        labX_ += "(X)";
        secondRow_ = true;
        break;
    default:
        break;
    }
}

void LengthDialogModel::show() {
    confirmed_ = false;
    firstValue_ = secondValue_ = 0;
    txtX.clear();
    txtY.clear();
    focus_ = Focus::X;
}

bool LengthDialogModel::ok(ui::Services& services) {
    std::string x = txtX, y = txtY;
    if (kind_ == 'L') {
        if (x.empty()) x = "0";
        if (y.empty()) y = "0";
    } else if (x.empty() || (secondRow_ && y.empty())) {
        services.messageBox("値を入力してください", "エラー", ui::Icon::Stop, ui::Buttons::Ok);
        focus_ = x.empty() ? Focus::X : Focus::Y;
        return false;
    }
    const int first = base::toInt(x);
    const int second = secondRow_ ? base::toInt(y) : secondValue_;
    firstValue_ = first;
    secondValue_ = second;
    confirmed_ = true;
    return true;
}

bool LengthDialogModel::enterInX(ui::Services& services) {
    if (secondRow_) {
        focus_ = Focus::Y;
        return false;
    }
    return ok(services);
}

void NewPlanDialogModel::show() {
    background_ = NewPlanBackground::White;
}

void NewPlanDialogModel::chooseBackground(NewPlanBackground b) { background_ = b; }

void NewPlanDialogModel::chooseScale(int denominator) {
    if (denominator > 0) {
        denominator_ = denominator;
        custom_ = false;
    } else {
        custom_ = true;
    }
}

std::int32_t chosenDenominator(const NewPlanChoice& choice) {
    return choice.customScale ? base::toInt(choice.denominatorText) : choice.denominator;
}

NewPlanChoice NewPlanDialogModel::choice(const std::string& denominatorText) const {
    NewPlanChoice c;
    c.confirmed = true;
    c.background = background_;
    c.denominator = denominator_;
    c.customScale = custom_;
    c.denominatorText = denominatorText;
    return c;
}

std::optional<model::AreaRecord> taskAreaFromTexts(const model::AreaRecord& area, const std::string& name,
                                                   const std::string& luxText, const std::string& uniformityText,
                                                   ui::Services& services) {
    auto refuse = [&services](const char* text) {
        services.messageBox(text, "入力エラー", ui::Icon::Stop, ui::Buttons::Ok);
        return std::nullopt;
    };
    model::AreaRecord a = area;
    a.name = name;
    const std::string lux = luxText.empty() ? "0" : luxText;
    const std::string u0 = uniformityText.empty() ? "0" : uniformityText;
    a.requiredLux = base::isInt(lux) ? base::toInt(lux) : -1;
    a.requiredUniformity = base::isFloat(u0) ? static_cast<float>(base::toFloat(u0)) : -1.0f;
    switch (model::areaFault(a)) {
    case model::AreaFault::Name: return refuse(kMsgAreaName);
    case model::AreaFault::Lux: return refuse(kMsgAreaLux);
    case model::AreaFault::Uniformity: return refuse(kMsgAreaUniformity);
    case model::AreaFault::None: break;
    }
    return a;
}

} // namespace editor
