#pragma once

#include <QObject>

class QLineEdit;
class QScrollBar;
class QWidget;
class Sheet;

// One evaluation criterion of the panel: a box to type a number into and the
// arrows beside it. Typed, keyed (↑↓ one point, Page Up / Page Down five) or
// scrolled, the criterion goes into the sheet as its text.
class CriterionInput : public QObject
{
    Q_OBJECT

public:
    using Text = const QString &(Sheet::*)() const;
    using SetText = void (Sheet::*)(const QString &);

    // start is the scroll position (100 - the criterion); caption names the
    // criterion in the message about a typed text that is no number.
    CriterionInput(const QString &box_name, const QString &scroll_name, int start,
                   const QString &caption, Text text, SetText set_text, QWidget *panel);

    void attach(Sheet *sheet) { sheet_ = sheet; }
    QLineEdit *box() const { return box_; }
    QScrollBar *scroll() const { return scroll_; }
    // Shows the sheet's criterion, unless the teacher is typing in the box.
    void refresh();
    // The sheet's criterion text.
    QString sheet_text() const;
    // The criterion back to text (Esc), dropping what was typed.
    void put_back(const QString &text);

signals:
    // The criterion in the sheet changed.
    void changed();
    void refused(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Enter or the focus leaving: what was typed counts, once.
    void finish();
    void apply(const QString &text);
    // The arrows at the criterion's position, without writing their own.
    void follow(double criterion);

    Sheet *sheet_ = nullptr;
    QString caption_;
    Text text_;
    SetText set_text_;
    QLineEdit *box_;
    QScrollBar *scroll_;
};
