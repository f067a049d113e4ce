#pragma once

#include <QList>
#include <QObject>

class QFocusFrame;
class QWidget;

// The side panels by keyboard alone. F6 takes the keys from the cell to the
// first control of the panels and on to the next, Shift+F6 back; past the
// last (or before the first) they return to the cell. Esc in any of them
// returns to the cell as well (the boxes have their own Esc, which also puts
// back what they held). The control with the keys has a frame round it: the
// arrows of the panels draw no focus of their own.
class PanelKeys : public QObject
{
    Q_OBJECT

public:
    // The controls in the order F6 walks them; Esc is left to those of
    // them listed in own_escape.
    PanelKeys(QWidget *window, const QList<QWidget *> &order,
              const QList<QWidget *> &own_escape);

    // The next control F6 (or Shift+F6) gives the keys to from the focused
    // one: hidden and disabled ones are passed over; none means the cell.
    QWidget *next_control(QWidget *from, bool forward) const;

signals:
    void cell_wanted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step(bool forward);

    QWidget *window_;
    QList<QWidget *> order_;
    QList<QObject *> leave_on_escape_;
    QFocusFrame *frame_;
};
