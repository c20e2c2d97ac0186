// The colour-temperature scale window "色温度スケール": its picture is the legend of the printed colour-temperature map.
#pragma once
#include "catalog/FixtureType.h"
#include "ui/qt/QtSurface.h"

#include <QWidget>

namespace view::forms {

class TfrmTempScale : public QWidget {
    Q_OBJECT
public:
    // White until the result display hands over the scale picture drawn from the light colours.
    explicit TfrmTempScale(QWidget* parent = nullptr);
    // Copies the scale picture (167 × 41) the result display drew.
    void setPicture(const ui::Surface& picture);

    const ui::qt::ImageSurface& picture() const { return picture_; }
    // The border toggle: merged = no border.
    void setMerged(bool merged);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    ui::qt::ImageSurface picture_;
};

} // namespace view::forms
