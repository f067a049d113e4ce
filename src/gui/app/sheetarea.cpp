#include "app/sheetarea.h"

#include "sheet/celleditor.h"

#include <QKeyEvent>

bool SheetArea::eventFilter(QObject *object, QEvent *event)
{
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        qobject_cast<CellEditor *>(object)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return QAbstractScrollArea::eventFilter(object, event);
    }
    return QMdiArea::eventFilter(object, event);
}
