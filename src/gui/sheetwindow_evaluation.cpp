// The evaluation side of a sheet window: the raw-score panel and the
// evaluation command with its panel.
#include "sheetwindow.h"

#include "evaluationpanel.h"
#include "scorepanel.h"

int SheetWindow::selected_candidate() const
{
    return -1;
}

void SheetWindow::refresh_score_panel()
{
}

void SheetWindow::hyouka_command()
{
}

void SheetWindow::connect_evaluation()
{
}
