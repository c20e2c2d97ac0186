// The colour-temperature scale window "色温度スケール": its picture is the legend of the printed colour-temperature map.
#pragma once
#include "catalog/FixtureType.h"
#include "ui/qt/QtSurface.h"

#include <QWidget>

namespace view::forms {

class TfrmTempScale : public QWidget {
    Q_OBJECT
public:
    // Draws the picture once, from the light colours loaded from the catalogue.
    TfrmTempScale(const catalog::LightColorTable& colours, QWidget* parent = nullptr);

    const ui::qt::ImageSurface& picture() const { return picture_; }
    // The border toggle: merged = no border.
    void setMerged(bool merged);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    ui::qt::ImageSurface picture_;
};

} // namespace view::forms
