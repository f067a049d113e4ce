#pragma once

#include <QList>

class Prompter;
class SheetWindow;

// What the recovery keeper asks of the frame that holds the sheet windows.
class SheetFrame
{
public:
    virtual ~SheetFrame() = default;

    virtual Prompter &prompter() const = 0;
    // The open sheet windows in the order they were loaded.
    virtual QList<SheetWindow *> sheets() const = 0;
    // The one sheet of a fresh start while it is still empty, else nullptr.
    virtual SheetWindow *empty_start_sheet() const = 0;
    // A new sheet window; nullptr when none can be made (the teacher is told).
    virtual SheetWindow *create_sheet() = 0;
};
