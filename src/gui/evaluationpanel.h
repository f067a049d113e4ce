#pragma once

#include <QFrame>

// The evaluation panel "評価選択パネル", hidden until the evaluation command.
class EvaluationPanel : public QFrame
{
    Q_OBJECT

public:
    explicit EvaluationPanel(QWidget *parent = nullptr);
};
