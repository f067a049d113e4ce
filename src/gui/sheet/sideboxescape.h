#pragma once

#include <QHash>
#include <QObject>
#include <functional>

class EvaluationPanel;
class ScorePanel;
class Sheet;
class QWidget;

// Esc in a box of the side panels (the column's title, 最高 and 重み, the
// criteria and their arrows) puts back what the box held when the teacher
// entered it: the marks typed next belong in the cell, and a box they went
// into would change what the teacher is not looking at. The window then
// gives the keys to the current cell. (The arrows of 文字ｻｲｽﾞ and 固定長
// never take the keys: after a click they are still the cell's.)
class SideBoxEscape : public QObject
{
    Q_OBJECT

public:
    SideBoxEscape(Sheet *sheet, ScorePanel *scores, EvaluationPanel *evaluation,
                  QObject *parent);

signals:
    void escaped();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using PutBack = std::function<void()>;
    // Takes what a box holds as it is entered; returns what puts it back.
    using Keep = std::function<PutBack()>;
    void watch(QWidget *box, const Keep &keep);

    QHash<QObject *, Keep> keep_;
    QHash<QObject *, PutBack> put_back_;
};
