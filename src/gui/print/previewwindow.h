#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;

// The print image window, one for the program: one page at a time as
// it will come out of the printer, scaled to the screen.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewWindow(QWidget *parent);

    void show_page(const QImage &page, const QString &caption);

private:
    QScrollArea *scroll_;
    QLabel *image_;
};
