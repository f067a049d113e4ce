#include "print/printersettings.h"

#include <QPrinter>
#include <QPrinterInfo>
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

const QString kPaperKey = u"print/paper"_s;
const QString kOrientationKey = u"print/orientation"_s;
const QString kFitWidthKey = u"print/fit_width"_s;
const QString kPaperNameKey = u"print/paper_name"_s;
const QString kPaperPointsKey = u"print/paper_points"_s;

}  // namespace

QString PrinterSettings::paper_name(const QPageSize &size)
{
    // Matched by paper code: the driver's own names never match the table.
    // Code 42 is only "user defined" there, which says nothing of the size.
    const int code = size.windowsId();
    if (code >= 1 && code < 42)
        return QString::fromUtf16(kPaperNames[code]);
    return size.name() + u' ' + size_text(size);
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

QList<QPageSize> PrinterSettings::papers() const
{
    QList<QPageSize> offered;
    const QPrinterInfo printer = QPrinterInfo::printerInfo(printer_);
    if (!printer.isNull())
        offered = printer.supportedPageSizes();
    if (offered.isEmpty()) {
        for (QPageSize::PageSizeId id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::JisB4,
                                         QPageSize::JisB5, QPageSize::Letter, QPageSize::Legal})
            offered.append(QPageSize(id));
    }
    // Drivers list one paper under several keys (Letter and ANSI A, C5 and
    // Envelope C5): each name once.
    QList<QPageSize> list;
    QStringList names;
    for (const QPageSize &size : offered) {
        const QString name = paper_name(size);
        if (!names.contains(name)) {
            names.append(name);
            list.append(size);
        }
    }
    return list;
}

QString PrinterSettings::printer_name() const
{
    return to_pdf() ? u"PDF ファイル"_s : printer_;
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
        printer.setPrinterName(printer_);
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
    page_size_ = QPrinterInfo::printerInfo(printer_).defaultPageSize();
    if (!page_size_.isValid())
        page_size_ = QPageSize(QPageSize::A4);
    store();
    return u"前回選んだ用紙「"_s + missing + u"」は、プリンター「"_s + printer_ +
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
