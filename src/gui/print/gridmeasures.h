#pragma once

class QFont;

// What printing needs of the grid on screen: the pages are laid out to look
// like it, in its font and with its row height.
class GridMeasures
{
public:
    virtual ~GridMeasures() = default;

    virtual QFont cell_font() const = 0;
    // Height of every row in twips.
    virtual int row_height_twips() const = 0;
};
