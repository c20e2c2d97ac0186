// Rules of the length dialog, free of any window.
#include "editor/LengthDialogRules.h"

#include "base/Text.h"

namespace editor {

LengthDialogLayout configureLengthDialog(char inputKind, char tool, const LengthDialogLayout& previous) {
    LengthDialogLayout l = previous;
    l.clearEdits = inputKind != 'H';
    l.captionSet = false;
    switch (inputKind) {
    case 'K':
        l.labX = "個数入力";
        l.labY = "個数入力(Y)";
        l.unitXVisible = l.unitYVisible = false;
        break;
    case 'P':
        l.labX = "ﾋﾟｯﾁ入力";
        l.labY = "ﾋﾟｯﾁ入力(Y)";
        l.unitXVisible = l.unitYVisible = true;
        break;
    case 'H':
        l.labX = "計算高さ";
        l.unitXVisible = true;
        break;
    case 'M':
        l.labX = "実寸で";
        l.unitXVisible = true;
        l.secondRow = false;
        break;
    case 'L':
        l.caption = "数値入力";
        l.captionSet = true;
        l.labX = "Ｘ(mm)";
        l.labY = "Ｙ(mm)";
        l.secondRow = true;
        break;
    default: break;
    }
    // The tool speaks last, also for the numeric point entry: during a line array it asks one value.
    switch (tool) {
    case '2':
        l.caption = "直線配灯";
        l.captionSet = true;
        l.secondRow = false;
        break;
    case 'H':
        l.caption = "器具高さの変更";
        l.captionSet = true;
        l.secondRow = false;
        break;
    case 'M':
        l.caption = "縮尺設定";
        l.captionSet = true;
        l.secondRow = false;
        break;
    case '3':
        l.caption = "格子配灯";
        l.captionSet = true;
        l.labX += "(X)";
        l.secondRow = true;
        break;
    default: break;
    }
    return l;
}

LengthDialogResult acceptLengthDialog(char inputKind, bool secondRowVisible, const std::string& textX, const std::string& textY) {
    LengthDialogResult r;
    std::string x = textX;
    std::string y = textY;
    if (inputKind == 'L') {
        if (x.empty()) x = "0";
        if (y.empty()) y = "0";
    } else if (x.empty() || (secondRowVisible && y.empty())) {
        r.refusal = kValueMissing;
        r.focus = x.empty() ? 1 : 2;
        return r;
    }
    r.firstValue = base::toInt(x);
    if (secondRowVisible) r.secondValue = base::toInt(y);
    r.accepted = true;
    return r;
}

} // namespace editor
