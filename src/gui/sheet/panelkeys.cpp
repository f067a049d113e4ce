#include "sheet/panelkeys.h"

#include <QApplication>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QShortcut>
#include <QWidget>

using namespace Qt::StringLiterals;

PanelKeys::PanelKeys(QWidget *window, const QList<QWidget *> &order,
                     const QList<QWidget *> &own_escape)
    : QObject(window), window_(window), order_(order), frame_(new QFocusFrame(window))
{
    for (const auto &[key, forward] : {std::pair{QKeySequence(Qt::Key_F6), true},
                                       std::pair{QKeySequence(Qt::SHIFT | Qt::Key_F6), false}}) {
        auto *shortcut = new QShortcut(key, window);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, forward = forward] { step(forward); });
    }
    for (QWidget *control : order_) {
        Q_ASSERT(control && window->isAncestorOf(control));
        control->installEventFilter(this);
        if (!own_escape.contains(control))
            leave_on_escape_.append(control);
    }
    // Readers see the frame too: it says what it marks.
    frame_->setAccessibleName(u"キーのある欄の枠"_s);
    frame_->hide();
}

QWidget *PanelKeys::next_control(QWidget *from, bool forward) const
{
    const qsizetype count = order_.size();
    qsizetype at = order_.indexOf(from);
    if (at < 0)
        at = forward ? -1 : count;
    for (at += forward ? 1 : -1; at >= 0 && at < count; at += forward ? 1 : -1) {
        QWidget *control = order_[at];
        if (control->isVisibleTo(window_) && control->isEnabled())
            return control;
    }
    return nullptr;
}

void PanelKeys::step(bool forward)
{
    if (QWidget *next = next_control(QApplication::focusWidget(), forward))
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    else
        emit cell_wanted();
}

bool PanelKeys::eventFilter(QObject *watched, QEvent *event)
{
    auto *control = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        frame_->setWidget(control);
        frame_->show();
        break;
    case QEvent::FocusOut:
        if (frame_->widget() == control) {
            frame_->setWidget(nullptr);
            // Readers see the frame too: it says what it marks.
    frame_->setAccessibleName(u"キーのある欄の枠"_s);
    frame_->hide();
        }
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
            leave_on_escape_.contains(control)) {
            emit cell_wanted();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
