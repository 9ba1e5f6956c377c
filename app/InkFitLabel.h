// A one-line label set on its bottom edge that keeps its ink inside. A label
// as high as its font's em square cuts the top of glyphs that rise to the
// full em (Chinese characters in a fallback face): such a line is drawn
// lower, as far as its lowest ink allows. A line whose ink fits is drawn as
// any label draws it.
#pragma once

#include <QLabel>

namespace app {

class InkFitLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // How many pixels below its usual place the line is drawn.
    int InkShift() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace app
