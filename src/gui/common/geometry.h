#pragma once

class QWidget;

// Placing controls by design coordinates in twips.
namespace geometry {

void place(QWidget *widget, double left, double top, double width, double height);
void move(QWidget *widget, double left, double top);
double left(const QWidget *widget);
double top(const QWidget *widget);
double width(const QWidget *widget);
double height(const QWidget *widget);

}  // namespace geometry
