#include "print/printersettings.h"

#include <QFile>
#include <QLibrary>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

// Paper names by paper code, as the teacher's earlier program showed them.
const char16_t *const kPaperNames[] = {
    u"",
    u"レター 8 1/2 x 11 インチ", u"レター スモール 8 1/2 x 11 インチ", u"タブロイド 11 x 17 インチ",
    u"レジャー 17 x 11 インチ", u"リーガル 8 1/2 x 14 インチ", u"ステートメント 5 1/2 x 8 1/2 インチ",
    u"エグゼクティブ 7 1/2 x 10 1/2 インチ", u"A3 297 x 420 mm", u"A4 210 x 297 mm",
    u"A4 Small 210 x 297 mm", u"A5 148 x 210 mm", u"B4 257 x 364 mm", u"B5 182 x 257 mm",
    u"フォリオ 8 1/2 x 13 インチ", u"クォート 215 x 275 mm", u"10 x 14 インチ", u"11 x 17 インチ",
    u"ノート 8 1/2 x 11 インチ", u"封筒 #9 3 7/8 x 8 7/8 インチ", u"封筒 #10 4 1/8 x 9 1/2 インチ",
    u"封筒 #11 4 1/2 x 10 3/8 インチ", u"封筒 #12 4 1/2 x 11 インチ", u"封筒 #14 5 x 11 1/2 インチ",
    u"C サイズ シート", u"D サイズ シート", u"E サイズ シート", u"封筒 DL 110 x 220 mm",
    u"封筒 C5 162 x 229 mm", u"封筒 C3 324 x 458 mm", u"封筒 C4 229 x 324 mm",
    u"封筒 C6 114 x 162 mm", u"封筒 C65 114 x 229 mm", u"封筒 B4 250 x 353 mm",
    u"封筒 B5 176 x 250 mm", u"封筒 B6 176 x 125 mm", u"封筒 110 x 230 mm",
    u"封筒 Monarch 3 7/8 x 7 1/2 インチ", u"封筒 3 5/8 x 6 1/2 インチ",
    u"U.S. スタンダード ファンフォールド 14 7/8 x 11 インチ",
    u"ドイツ スタンダード ファンフォールド 8 1/2 x 12 インチ",
    u"ドイツ リーガル ファンフォールド 8 1/2 x 13 インチ", u"ユーザー定義のサイズ",
};

bool same_size(const QSize &a, const QSize &b, int points)
{
    return qAbs(a.width() - b.width()) <= points && qAbs(a.height() - b.height()) <= points;
}

// Qt gives a paper whose key it does not know the code of a paper of about
// its size: the table's name is the paper's only when the driver's key
// names Qt's (JISB4 is B4; RA4 is not FanFoldGerman). Code 42 is only "user
// defined" in the table, which says nothing of the size.
bool has_table_name(const QPageSize &size)
{
    return size.windowsId() >= 1 && size.windowsId() < 42 &&
           size.key().contains(QPageSize(size.id()).key(), Qt::CaseInsensitive);
}

// The sizes a printer's driver description (PPD) gives its papers, by key.
// Qt sizes a paper by its own table when it knows the key (the driver's
// Super B is 13 x 19 inches, Qt's 305 x 487 mm), and what the printer
// prints is the driver's. The CUPS library is loaded only when there is a
// printer to ask; without it Qt's sizes stand.
QHash<QString, QSize> driver_sizes(const QString &printer)
{
    using GetPpd = const char *(*)(const char *);
    QLibrary cups(u"cups"_s, 2);
    const auto get_ppd = reinterpret_cast<GetPpd>(cups.resolve("cupsGetPPD"));
    const char *path = get_ppd ? get_ppd(printer.toUtf8().constData()) : nullptr;
    if (!path)
        return {};
    QFile ppd(QString::fromLocal8Bit(path));  // a copy of the driver's, ours to remove
    QHash<QString, QSize> sizes;
    static const QRegularExpression dimension(u"^\\*PaperDimension ([^/:\\s]+)[^:]*:\\s*\"([\\d.]+)\\s+([\\d.]+)\""_s,
                                              QRegularExpression::MultilineOption);
    if (ppd.open(QIODevice::ReadOnly))
        for (auto it = dimension.globalMatch(QString::fromLatin1(ppd.readAll())); it.hasNext();) {
            const auto match = it.next();
            sizes.insert(match.captured(1),
                         QSize(qRound(match.captured(2).toDouble()), qRound(match.captured(3).toDouble())));
        }
    ppd.remove();
    return sizes;
}

const QString kPaperKey = u"print/paper"_s;
const QString kOrientationKey = u"print/orientation"_s;
const QString kFitWidthKey = u"print/fit_width"_s;
const QString kPaperNameKey = u"print/paper_name"_s;
const QString kPaperPointsKey = u"print/paper_points"_s;

}  // namespace

QString PrinterSettings::paper_name(const QPageSize &size)
{
    // Matched by paper code: the driver's own names never match the table.
    if (!has_table_name(size))
        return size.name() + u' ' + size_text(size);
    const QString name = QString::fromUtf16(kPaperNames[size.windowsId()]);
    // The C, D and E sheets' names say no size.
    return name.endsWith(u"インチ"_s) || name.endsWith(u"mm"_s) ? name : name + u' ' + size_text(size);
}

QString PrinterSettings::size_text(const QPageSize &size)
{
    // Inches when both sides are whole or half inches, else millimetres.
    const QSizeF inches = size.size(QPageSize::Inch);
    auto half_inches = [](double v) { return qAbs(v * 2 - qRound(v * 2)) < 0.02; };
    if (size.definitionUnits() != QPageSize::Millimeter && half_inches(inches.width()) &&
        half_inches(inches.height()))
        return QString::number(qRound(inches.width() * 2) / 2.0) + u" x "_s +
               QString::number(qRound(inches.height() * 2) / 2.0) + u" インチ"_s;
    const QSizeF mm = size.size(QPageSize::Millimeter);
    return QString::number(qRound(mm.width())) + u" x "_s + QString::number(qRound(mm.height())) +
           u" mm"_s;
}

QString PrinterSettings::default_printer()
{
    return QPrinterInfo::defaultPrinter().printerName();
}

const QString &PrinterSettings::chosen_printer() const
{
    if (!printer_)
        printer_ = default_printer();
    return *printer_;
}

QList<QPageSize> PrinterSettings::papers() const
{
    QList<QPageSize> offered;
    const QPrinterInfo printer = QPrinterInfo::printerInfo(chosen_printer());
    if (!printer.isNull())
        offered = printer.supportedPageSizes();
    if (offered.isEmpty()) {
        for (QPageSize::PageSizeId id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::JisB4,
                                         QPageSize::JisB5, QPageSize::Letter, QPageSize::Legal})
            offered.append(QPageSize(id));
    }
    const QHash<QString, QSize> driver = printer.isNull() ? QHash<QString, QSize>() : driver_sizes(chosen_printer());
    // Drivers list one paper under several keys and names (Letter and ANSI
    // A, 13x19 and Super B): each size once, by the table's name if one has it.
    QList<QPageSize> list;
    for (QPageSize size : offered) {
        // Drivers and Qt round a size a few points apart (JIS B4 is 727 x
        // 1029 points to one, 729 x 1032 to the other): the table's papers
        // keep Qt's size, the driver's own take the driver's (RA4 is 609 x
        // 864, not the German fanfold's 612 x 864).
        const QSize points = driver.value(size.key());
        if (points.isValid() && !same_size(points, size.sizePoints(), has_table_name(size) ? 6 : 1))
            size = QPageSize(points, QPageSize::Point, size.name(), QPageSize::ExactMatch);
        const auto same = std::find_if(list.begin(), list.end(), [&size](const QPageSize &listed) {
            return same_size(listed.sizePoints(), size.sizePoints(), 1);
        });
        if (same == list.end())
            list.append(size);
        else if (!has_table_name(*same) && has_table_name(size))
            *same = size;
    }
    return list;
}

QString PrinterSettings::printer_name() const
{
    return to_pdf() ? u"PDF ファイル"_s : chosen_printer();
}

void PrinterSettings::set_page_size(const QPageSize &size)
{
    page_size_ = size;
    store();
}

void PrinterSettings::set_orientation(QPageLayout::Orientation orientation)
{
    orientation_ = orientation;
    store();
}

void PrinterSettings::set_fit_width(bool fit)
{
    fit_width_ = fit;
    store();
}

void PrinterSettings::apply_to(QPrinter &printer) const
{
    if (to_pdf())
        printer.setOutputFormat(QPrinter::PdfFormat);
    else
        printer.setPrinterName(chosen_printer());
    printer.setPageSize(page_size_);
    printer.setPageOrientation(orientation_);
}

QString PrinterSettings::remember_in(QSettings *settings)
{
    settings_ = settings;
    orientation_ = settings->value(kOrientationKey).toInt() == 1 ? QPageLayout::Landscape
                                                                 : QPageLayout::Portrait;
    fit_width_ = settings->value(kFitWidthKey, false).toBool();
    // A paper of the driver's own is kept by its name and size, the others
    // by Qt's id.
    const QSizeF points = settings->value(kPaperPointsKey).toSizeF();
    const int id = settings->value(kPaperKey, int(QPageSize::A4)).toInt();
    if (id == int(QPageSize::Custom) && points.isValid())
        page_size_ = QPageSize(points, QPageSize::Point, settings->value(kPaperNameKey).toString(),
                               QPageSize::ExactMatch);
    else if (id >= 0 && id < int(QPageSize::LastPageSize) && id != int(QPageSize::Custom))
        page_size_ = QPageSize(QPageSize::PageSizeId(id));
    if (to_pdf() || !settings->contains(kPaperKey))
        return {};
    const QList<QPageSize> offered = papers();
    const bool there = std::any_of(offered.cbegin(), offered.cend(), [this](const QPageSize &size) {
        return size.isEquivalentTo(page_size_);
    });
    if (there || offered.isEmpty())
        return {};
    const QString missing = paper_name(page_size_);
    page_size_ = QPrinterInfo::printerInfo(chosen_printer()).defaultPageSize();
    if (!page_size_.isValid())
        page_size_ = QPageSize(QPageSize::A4);
    store();
    return u"前回選んだ用紙「"_s + missing + u"」は、プリンター「"_s + chosen_printer() +
           u"」にはもうありません。\n用紙は「"_s + paper_name(page_size_) +
           u"」にしました。印刷設定で選び直せます。"_s;
}

void PrinterSettings::store()
{
    if (!settings_)
        return;
    settings_->setValue(kPaperKey, int(page_size_.id()));
    settings_->setValue(kPaperNameKey, page_size_.name());
    settings_->setValue(kPaperPointsKey, QSizeF(page_size_.sizePoints()));
    settings_->setValue(kOrientationKey, orientation_ == QPageLayout::Landscape ? 1 : 0);
    settings_->setValue(kFitWidthKey, fit_width_);
}
