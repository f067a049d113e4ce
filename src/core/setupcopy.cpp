#include "setupcopy.h"

#include "sheet.h"

namespace setupcopy {

void copy_setup(const Sheet &from, Sheet &to)
{
    Q_ASSERT(&from != &to);
    Q_ASSERT(!to.has_content());
    const Sheet::Batch batch(to);
    // Result columns belong to the students: the new sheet starts without.
    const int cols = from.cols() - from.result_count();
    to.set_cols(cols);
    for (int c = 1; c < cols; ++c) {
        to.set_text(0, c, from.text(0, c));
        to.set_column_width(c, from.column_width(c));
    }
    for (int k = 1; k <= from.score_count(); ++k) {
        ScoreSettings settings = from.settings(k);
        // Full marks the program inferred came from the other class's marks.
        if (!settings.full_marks_given) {
            ScoreSettings fresh;
            fresh.weight = settings.weight;
            settings = fresh;
        }
        to.set_settings(k, settings);
    }
    to.set_lower_text(from.lower_text());
    to.set_upper_text(from.upper_text());
    to.set_viewpoint_settings(from.viewpoint_settings());
    to.set_current_cell(1, 1);
}

}  // namespace setupcopy
