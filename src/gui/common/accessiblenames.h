#pragma once

class QWidget;

// The names and descriptions screen readers speak for the controls whose
// caption does not say what they are (boxes, arrows, lists, the grid), in
// the window's own words. One table for every window, beside the object
// names they are found by.
namespace accessible_names {

// Names the controls of a window (found by the window's and their object
// names) that have no name of their own yet.
void name_controls(QWidget *window);

}  // namespace accessible_names
