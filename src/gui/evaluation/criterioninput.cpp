#include "evaluation/criterioninput.h"

#include "grading.h"
#include "marks.h"
#include "numbers.h"
#include "sheet.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <cmath>

using namespace Qt::StringLiterals;

CriterionInput::CriterionInput(const QString &box_name, const QString &scroll_name, int start,
                               const QString &caption, Text text, SetText set_text,
                               QWidget *panel)
    : QObject(panel), caption_(caption), text_(text), set_text_(set_text),
      box_(new QLineEdit(panel)), scroll_(new QScrollBar(Qt::Vertical, panel))
{
    box_->setObjectName(box_name);
    // Only a click gives the box the keys: the first box of the window must
    // never catch keys meant for a cell.
    box_->setFocusPolicy(Qt::ClickFocus);
    box_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    box_->setToolTip(u"数を入力して Enter。↑↓で 1 点、PageUp / PageDown で 5 点動きます。"_s);
    box_->setText(numbers::plain_form(100 - start));
    box_->installEventFilter(this);
    connect(box_, &QLineEdit::editingFinished, this, &CriterionInput::finish);

    scroll_->setObjectName(scroll_name);
    scroll_->setRange(0, 100);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(5);
    scroll_->setValue(start);
    scroll_->setFocusPolicy(Qt::ClickFocus);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int position) {
        if (sheet_)
            apply(numbers::signed_form(100 - position));
    });
}

void CriterionInput::pair_with(const CriterionInput *other, bool lower)
{
    other_ = other;
    lower_ = lower;
}

QString CriterionInput::order_refusal(const QString &text) const
{
    if (!other_)
        return QString();
    const double value = numbers::leading_number(text);
    const double before = numbers::leading_number(sheet_text());
    const double theirs = numbers::leading_number(other_->sheet_text());
    const bool closer = lower_ ? value < before : value > before;
    if (closer || grading::criteria_in_order(lower_ ? value : theirs, lower_ ? theirs : value))
        return QString();
    const auto named = [](const CriterionInput &c, const QString &t) -> QString {
        return u"「"_s + c.caption_ + u"」（"_s + t.trimmed() + u"）"_s;
    };
    const QString mine = named(*this, text);
    const QString other = named(*other_, other_->sheet_text());
    return (lower_ ? mine + u"は"_s + other : other + u"は"_s + mine) + u"より小さくしてください。"_s;
}

void CriterionInput::refresh()
{
    if (!sheet_ || box_->isModified() || box_->text() == sheet_text())
        return;
    box_->setText(sheet_text());
    follow(numbers::leading_number(sheet_text()));
}

QString CriterionInput::sheet_text() const
{
    return sheet_ ? (sheet_->*text_)() : box_->text();
}

void CriterionInput::put_back(const QString &text)
{
    box_->setModified(false);
    if (sheet_ && text != sheet_text()) {
        follow(numbers::leading_number(text));
        write(text);
    } else {
        box_->setText(text);
    }
}

void CriterionInput::follow(double criterion)
{
    const QSignalBlocker quiet(scroll_);
    scroll_->setValue(
        qBound(scroll_->minimum(), 100 - int(std::lround(criterion)), scroll_->maximum()));
}

// The scroll position runs opposite to the criterion.
bool CriterionInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != box_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    int step = 0;
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Up:
        step = -scroll_->singleStep();
        break;
    case Qt::Key_Down:
        step = scroll_->singleStep();
        break;
    case Qt::Key_PageUp:
        step = -scroll_->pageStep();
        break;
    case Qt::Key_PageDown:
        step = scroll_->pageStep();
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    // What was typed counts first, then the step moves from there.
    finish();
    scroll_->setValue(scroll_->value() + step);
    box_->selectAll();
    return true;
}

void CriterionInput::finish()
{
    if (!sheet_ || !box_->isModified())
        return;
    box_->setModified(false);
    const QString typed = box_->text();
    bool number = false;
    const double value = marks::folded(typed).toDouble(&number);
    if (!number || !std::isfinite(value)) {
        box_->setText((sheet_->*text_)());
        emit refused(u"「"_s + caption_ + u"」には数を入力してください（「"_s + typed.trimmed() +
                     u"」は数ではありません）。"_s);
        return;
    }
    follow(value);
    const QString criterion = numbers::signed_form(value);
    if (criterion != (sheet_->*text_)())
        apply(criterion);
    else
        box_->setText(criterion);
}

// A typed or keyed criterion, unless it would put the pair the wrong way
// round: then the box and the arrows keep the criterion as it was.
void CriterionInput::apply(const QString &text)
{
    if (const QString refusal = order_refusal(text); !refusal.isEmpty()) {
        box_->setText(sheet_text());
        follow(numbers::leading_number(sheet_text()));
        emit refused(refusal);
        return;
    }
    write(text);
}

void CriterionInput::write(const QString &text)
{
    (sheet_->*set_text_)(text);
    box_->setText(text);
    emit changed();
}
