// The layer dialog of "DXFから壁を作成...": the drawing's layers with their counts, the ones to make walls of.
#pragma once
#include "io/DxfWalls.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace io::forms {

class TfrmDxfWalls : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDxfWalls(QWidget* parent = nullptr);

    struct Choice {
        std::vector<std::string> layers;
        bool withinWindow = false;  // the walls come only from a rectangle dragged on the plan next
    };
    // The layers checked when OK is pressed (at least one); nothing when cancelled.
    std::optional<Choice> execute(const std::vector<DxfLayerCount>& layers);

    QListWidget* lstLayers;
    QCheckBox* chkWindow;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    void btnOKClick();

private:
    std::vector<DxfLayerCount> layers_;
    std::optional<Choice> answer_;
};

} // namespace io::forms
