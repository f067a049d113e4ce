#pragma once

#include <QMdiArea>

// The frame's area of sheet windows. Ctrl+Tab and Ctrl+Shift+Tab in a cell
// editor move the cursor, as its key table says, instead of switching sheets;
// Ctrl+F6 and the window menu still switch.
class SheetArea : public QMdiArea
{
    Q_OBJECT

public:
    using QMdiArea::QMdiArea;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;
};
