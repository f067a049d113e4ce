#pragma once

#include <QColor>
#include <QHeaderView>
#include <QLatin1StringView>
#include <QTableWidget>

// The small tables of the viewpoint panel: made, and filled with cells the
// teacher can or cannot edit, alike on every page.
namespace viewpoint_tables {


inline QTableWidget *make_table(QWidget *parent, QLatin1StringView name, const QString &accessible)
{
    auto *table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setAccessibleName(accessible);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    return table;
}

inline QTableWidgetItem *fixed_item(const QString &text, Qt::Alignment align = Qt::AlignCenter)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(align);
    return item;
}

inline QTableWidgetItem *editable_item(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

// Hand-set values stand out as they do in the sheet.
inline const QColor kHandSet(255, 236, 160);
inline const QColor kChecked(255, 214, 170);

}  // namespace viewpoint_tables
