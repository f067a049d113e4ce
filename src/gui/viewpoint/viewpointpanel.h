#pragma once

#include "viewpoints.h"

#include <QFrame>
#include <QList>
#include <QPoint>

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTableWidgetItem;
class Sheet;
class ViewpointSettingsPage;

// The viewpoint panel "観点別評価": per student the rate and letter of each
// viewpoint and the 評定, their counts, the thresholds, the conversion table
// and the viewpoint names, the hand-set values and the checks. Everything the
// teacher changes here stays in the panel until 決定; the result follows at
// once.
class ViewpointPanel : public QFrame
{
    Q_OBJECT

public:
    explicit ViewpointPanel(QWidget *parent = nullptr);

    void attach(Sheet *sheet);
    // Starts afresh from what the sheet holds.
    void start();
    // What 決定 writes: the settings and the corrections made here.
    const ViewpointSettings &settings() const { return settings_; }
    const viewpoints::Result &result() const { return result_; }

    QTableWidget *results() const { return results_; }
    QTableWidget *viewpoint_counts() const { return viewpoint_counts_; }
    QTableWidget *grade_counts() const { return grade_counts_; }
    ViewpointSettingsPage *settings_page() const { return settings_page_; }
    QListWidget *hand_set_list() const { return hand_set_; }
    QListWidget *check_list() const { return checks_; }
    QPushButton *decide_button() const { return decide_; }
    QPushButton *abort_button() const { return abort_; }

signals:
    void decide_requested();
    void abort_requested();

private:
    void build_results_page(QWidget *page);
    void build_list_page(QWidget *page);
    // The result again from the settings and corrections as they stand now.
    void recompute();
    void show_results();
    void show_counts();
    void show_lists();
    // An edit in the results table: a hand correction, or its removal.
    void result_edited(QTableWidgetItem *item);
    // The selected hand-set value goes back to what the computation gives.
    void clear_selected_mark();
    // Adds a hand correction, replacing one of the same value.
    void correct(int row, int item, const QString &value);

    Sheet *sheet_ = nullptr;
    ViewpointSettings settings_;
    QList<viewpoints::Correction> corrections_;
    viewpoints::Result result_;
    bool showing_ = false;
    QTabWidget *pages_;
    QTableWidget *results_;
    QTableWidget *viewpoint_counts_;
    QTableWidget *grade_counts_;
    QLabel *grade_average_;
    ViewpointSettingsPage *settings_page_;
    QListWidget *hand_set_;
    QPushButton *clear_mark_;
    QListWidget *checks_;
    QLabel *check_count_;
    QPushButton *decide_;
    QPushButton *abort_;
    // The hand-set list's rows: which student row and item they name.
    QList<QPoint> hand_set_items_;
    // The results table's rows: which student of the result they show.
    QList<int> shown_students_;
};
