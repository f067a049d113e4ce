#pragma once

#include <QList>
#include <QString>

// The sheet-level settings of viewpoint grading: the viewpoints, the two
// thresholds that turn a rate into A / B / C, and how the letters become the
// overall grade 1-5. Plain data; the sheet owns one and changes it through a
// mutator, so it is undone and saved like the rest of the document.

struct Viewpoint {
    QString name;        // e.g. 知識・技能: the result column's title
    QString short_name;  // e.g. 知: the choice in the raw-score panel and the batch list
    bool operator==(const Viewpoint &) const = default;
};

struct ViewpointSettings {
    static constexpr int kMaxViewpoints = 5;
    enum class Method {
        Points,  // A 3, B 2, C 1; the sum through points_table
        Rates,   // the average rate through rate_bounds
    };

    QList<Viewpoint> viewpoints = default_viewpoints();
    double threshold_a = 80;  // percent: A at or above
    double threshold_b = 50;  // percent: B at or above, C below
    Method method = Method::Points;
    // The grade for each sum of points, from the lowest sum (one C per
    // viewpoint) at [0] to the highest (all A) at [2 * count].
    QList<int> points_table = default_points_table(3);
    // Lower bounds in percent of the average rate for grades 5, 4, 3, 2;
    // below the last one the grade is 1.
    QList<double> rate_bounds = default_rate_bounds();

    bool operator==(const ViewpointSettings &) const = default;

    static QList<Viewpoint> default_viewpoints();
    // The usual table for three viewpoints (9 → 5, 8 → 4, 7 → 4, 6 → 3,
    // 5 → 3, 4 → 2, 3 → 1), stretched over the sums of other counts.
    static QList<int> default_points_table(int count);
    static QList<double> default_rate_bounds();  // 90, 70, 50, 30
};
