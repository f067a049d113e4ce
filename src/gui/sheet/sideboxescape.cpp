#include "sheet/sideboxescape.h"

#include "evaluation/criterioninput.h"
#include "evaluation/evaluationpanel.h"
#include "sheet.h"
#include "sheet/scorepanel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

SideBoxEscape::SideBoxEscape(Sheet *sheet, ScorePanel *scores, EvaluationPanel *evaluation,
                             QObject *parent)
    : QObject(parent)
{
    // The score panel's boxes write the sheet as the teacher types: what goes
    // back is the column's title and settings, not a box's text (「不明」
    // typed back would count as full marks the teacher gave).
    const Keep column = [sheet, scores]() -> PutBack {
        const int c = sheet->col();
        if (!sheet->is_score_col(c))
            return {};
        const int k = Sheet::slot_of_column(c);
        return [=, title = sheet->text(0, c), settings = sheet->settings(k)] {
            if (sheet->col() != c)
                return;
            sheet->set_text(0, c, title);
            if (sheet->settings(k) != settings)
                sheet->set_settings(k, settings);
            scores->refresh();
        };
    };
    for (QWidget *box : {scores->title_box(), scores->full_marks_box(), scores->weight_box()})
        watch(box, column);
    for (CriterionInput *criterion : evaluation->criteria()) {
        const Keep keep = [criterion]() -> PutBack {
            return [criterion, text = criterion->sheet_text()] { criterion->put_back(text); };
        };
        watch(criterion->box(), keep);
        watch(criterion->scroll(), keep);
    }
}

void SideBoxEscape::watch(QWidget *box, const Keep &keep)
{
    keep_.insert(box, keep);
    box->installEventFilter(this);
}

bool SideBoxEscape::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && keep_.contains(watched)) {
        put_back_.insert(watched, keep_.value(watched)());
    } else if (event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
               keep_.contains(watched)) {
        if (const PutBack put_back = put_back_.take(watched))
            put_back();
        emit escaped();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
