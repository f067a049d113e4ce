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
    // The other criterion: the grade-2 bound (lower) stays below the grade-10
    // one.
    void pair_with(const CriterionInput *other, bool lower);
    QLineEdit *box() const { return box_; }
    QScrollBar *scroll() const { return scroll_; }
    // Shows the sheet's criterion, unless the teacher is typing in the box.
    void refresh();
    // The sheet's criterion text.
    QString sheet_text() const;
    // The criterion back to text (Esc), dropping what was typed.
    void put_back(const QString &text);
    // Why the criterion may not become text, naming both criteria; empty
    // when it may. A change may not turn the pair the wrong way round, nor
    // take a pair already so (read from a file) further from the right way.
    QString order_refusal(const QString &text) const;

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
    void write(const QString &text);
    // The arrows at the criterion's position, without writing their own.
    void follow(double criterion);

    Sheet *sheet_ = nullptr;
    const CriterionInput *other_ = nullptr;
    bool lower_ = false;
    QString caption_;
    Text text_;
    SetText set_text_;
    QLineEdit *box_;
    QScrollBar *scroll_;
};
