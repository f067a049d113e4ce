#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <optional>

class QPrinter;
class QSettings;

// The paper and orientation printing and preview use, one for the program.
// They belong to the program, not to the system: choosing them never changes
// the printer's own defaults. They last for the run and, given settings,
// from run to run.
class PrinterSettings
{
public:
    QPageSize page_size() const { return page_size_; }
    QPageLayout::Orientation orientation() const { return orientation_; }
    void set_page_size(const QPageSize &size);
    void set_orientation(QPageLayout::Orientation orientation);
    // 用紙の幅に合わせる: the table printed smaller so that its columns fit
    // the paper's width.
    bool fit_width() const { return fit_width_; }
    void set_fit_width(bool fit);

    // The system's default printer, asked for when first needed (the
    // printing system may take a while to answer); empty prints to a PDF
    // file instead.
    void set_printer(const QString &name) { printer_ = name; }
    bool to_pdf() const { return chosen_printer().isEmpty(); }

    void apply_to(QPrinter &printer) const;
    // Reads what was chosen last time and keeps later choices there; says
    // why when the printer no longer offers that paper (empty otherwise).
    QString remember_in(QSettings *settings);

    // The Japanese name of a paper by its paper code, else the driver's own
    // name, with the size either way.
    static QString paper_name(const QPageSize &size);
    static QString size_text(const QPageSize &size);
    // The papers the current printer offers (the common ones for PDF), each
    // size once, sized as the printer's driver sizes them.
    QList<QPageSize> papers() const;
    // The current printer's name, or what stands for it without one.
    QString printer_name() const;

private:
    static QString default_printer();
    const QString &chosen_printer() const;
    void store();

    QPageSize page_size_{QPageSize::A4};
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    bool fit_width_ = false;
    mutable std::optional<QString> printer_;
    QSettings *settings_ = nullptr;
};
