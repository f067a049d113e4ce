#pragma once

#include "viewpointsettings.h"

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QTableWidget;
class QTableWidgetItem;

// The viewpoint panel's page 「基準と換算表」: the thresholds of A and B, how
// 評定 is found, the conversion table and the viewpoints' names. It edits a
// copy of the sheet's settings; the panel writes them at 決定.
class ViewpointSettingsPage : public QWidget
{
    Q_OBJECT

public:
    explicit ViewpointSettingsPage(QWidget *parent = nullptr);

    const ViewpointSettings &settings() const { return settings_; }
    // Starts from these settings; no change is reported for them.
    void set_settings(const ViewpointSettings &settings);

    QDoubleSpinBox *threshold_a() const { return threshold_a_; }
    QDoubleSpinBox *threshold_b() const { return threshold_b_; }
    QComboBox *method_choice() const { return method_; }
    QTableWidget *conversion_table() const { return conversion_; }
    QTableWidget *names_table() const { return names_; }

signals:
    // The teacher changed a setting.
    void changed();

private:
    // The controls as the settings hold them.
    void show_settings();
    void conversion_edited(QTableWidgetItem *item);
    void name_edited(QTableWidgetItem *item);

    ViewpointSettings settings_;
    QDoubleSpinBox *threshold_a_;
    QDoubleSpinBox *threshold_b_;
    QComboBox *method_;
    QTableWidget *conversion_;
    QTableWidget *names_;
};
