#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Lets the teacher move a floating panel by the bands along its top and
// bottom edges, each band one and a half text heights deep.
class PanelDragger : public QObject
{
    Q_OBJECT

public:
    // text_height gives the height of "*" in the window font, in twips.
    PanelDragger(QWidget *panel, std::function<double()> text_height);

    bool dragging() const { return dragging_; }
    // Whether a point (twips, panel coordinates) lies in a grab band.
    bool in_band(double y) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *panel_;
    std::function<double()> text_height_;
    bool dragging_ = false;
    double drag_x_ = 0;
    double drag_y_ = 0;
};
