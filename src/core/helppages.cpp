#include "helppages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace help {

namespace {

QString with_separator(QString folder)
{
    folder = folder.trimmed();
    if (!folder.endsWith(u'/') && !folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

// A path made comparable: symbolic links resolved where the file exists, so
// a link inside the help folder cannot lead out of it.
QString comparable(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString plain_text(QString html)
{
    static const QRegularExpression hidden(
        u"<(head|style|script)\\b.*?</\\1\\s*>"_s,
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(u"<[^>]*>"_s);
    html.remove(hidden);
    html.replace(tag, u" "_s);
    html.replace(u"&nbsp;"_s, u" "_s).replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s);
    html.replace(u"&quot;"_s, u"\""_s).replace(u"&amp;"_s, u"&"_s);
    return html.simplified();
}

QString title_of(const QString &html)
{
    static const QRegularExpression title(
        u"<title>(.*?)</title>"_s,
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = title.match(html);
    return match.hasMatch() ? plain_text(match.captured(1)) : QString();
}

// Half-width katakana and full-width letters fold to their usual forms.
QString folded(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

QString page_head(const QString &title)
{
    return u"<html><head><meta charset=\"utf-8\"><title>"_s + title.toHtmlEscaped() +
           u"</title></head><body>"_s;
}

}  // namespace

QString folder_in(const QString &start_dir)
{
    return with_separator(start_dir) + u"help"_s + QDir::separator();
}

QStringList installed_folders(const QString &program_dir)
{
    return {program_dir + u"/help"_s, QDir::cleanPath(program_dir + u"/../share/ponsaiten/help"_s)};
}

QString start_page(const QString &start_dir, const QStringList &installed_folders)
{
    const QString own = folder_in(start_dir) + u"help.htm"_s;
    if (QFileInfo::exists(own))
        return own;
    for (const QString &folder : installed_folders) {
        const QString page = with_separator(folder) + u"help.htm"_s;
        if (QFileInfo::exists(page))
            return page;
    }
    return own;
}

QUrl address_to_url(const QString &text, const QString &folder)
{
    const QString address = text.trimmed();
    const QUrl url(address);
    // A one-letter scheme is a drive letter, not a scheme.
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(QDir::cleanPath(QDir(folder).absoluteFilePath(address)));
}

Destination destination(const QUrl &url, const QString &folder)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringView(kSearchScheme))
        return Destination::Search;
    if (scheme == u"http"_s || scheme == u"https"_s || scheme == u"mailto"_s)
        return Destination::Web;
    if (!url.isLocalFile())
        return Destination::Refused;
    const QString path = comparable(url.toLocalFile());
    if (path.startsWith(comparable(folder) + u'/'))
        return Destination::Page;
    const QString samples = comparable(folder + u"/../sample"_s) + u'/';
    if (path.startsWith(samples) && path.endsWith(u".csv"_s, Qt::CaseInsensitive) &&
        !path.sliced(samples.size()).contains(u'/'))
        return Destination::Sample;
    return Destination::Refused;
}

QUrl search_url(const QString &word)
{
    QUrl url;
    url.setScheme(QString::fromUtf16(kSearchScheme));
    url.setPath(word.trimmed());
    return url;
}

QString search_word(const QUrl &url)
{
    return url.path();
}

QList<Hit> search(const QString &folder, const QString &word)
{
    const QString wanted = folded(word.trimmed());
    struct Counted {
        Hit hit;
        qsizetype count;
    };
    QList<Counted> found;
    const QFileInfoList pages =
        QDir(folder).entryInfoList({u"*.htm"_s, u"*.html"_s}, QDir::Files, QDir::Name);
    for (const QFileInfo &page : pages) {
        if (destination(QUrl::fromLocalFile(page.absoluteFilePath()), folder) != Destination::Page)
            continue;
        QFile file(page.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString html = QString::fromUtf8(file.readAll());
        const QString title = title_of(html);
        const QString text = folded(title + u' ' + plain_text(html));
        if (wanted.isEmpty()) {
            found.append({{page.absoluteFilePath(), title, QString()}, 0});
            continue;
        }
        const qsizetype count = text.count(wanted, Qt::CaseInsensitive);
        if (count == 0)
            continue;
        const qsizetype at = text.indexOf(wanted, 0, Qt::CaseInsensitive);
        const qsizetype from = std::max<qsizetype>(0, at - 30);
        QString excerpt = text.mid(from, at - from + wanted.size() + 30);
        if (from > 0)
            excerpt.prepend(u'…');
        if (from + excerpt.size() < text.size())
            excerpt.append(u'…');
        found.append({{page.absoluteFilePath(), title, excerpt}, count});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Counted &a, const Counted &b) { return a.count > b.count; });
    QList<Hit> hits;
    for (const Counted &each : found)
        hits.append(each.hit);
    return hits;
}

QString search_page(const QString &word, const QList<Hit> &hits)
{
    const QString wanted = folded(word.trimmed());
    QString html = page_head(u"ヘルプの検索"_s) + u"<h1>ヘルプの検索</h1>"_s;
    if (wanted.isEmpty()) {
        html += u"<p>ツールバーの検索欄に調べたい言葉を入れて Enter キーを押すと、"
                u"その言葉が出てくるページを探します。</p><h2>ページの一覧</h2>"_s;
    } else if (hits.isEmpty()) {
        html += u"<p>「"_s + wanted.toHtmlEscaped() +
                u"」を含むページはありませんでした。別の言葉で探してみてください。</p>"_s;
    } else {
        html += u"<p>「"_s + wanted.toHtmlEscaped() + u"」を含むページ: "_s +
                QString::number(hits.size()) + u" 件</p>"_s;
    }
    html += u"<ul>"_s;
    for (const Hit &hit : hits) {
        const QString title = hit.title.isEmpty() ? QFileInfo(hit.file).fileName() : hit.title;
        html += u"<li><a href=\""_s + QUrl::fromLocalFile(hit.file).toString(QUrl::FullyEncoded) +
                u"\">"_s + title.toHtmlEscaped() + u"</a>"_s;
        if (!hit.excerpt.isEmpty()) {
            const qsizetype at = hit.excerpt.indexOf(wanted, 0, Qt::CaseInsensitive);
            QString excerpt = hit.excerpt.left(at).toHtmlEscaped() + u"<b>"_s +
                              hit.excerpt.mid(at, wanted.size()).toHtmlEscaped() + u"</b>"_s +
                              hit.excerpt.mid(at + wanted.size()).toHtmlEscaped();
            html += u"<br><small>"_s + excerpt + u"</small>"_s;
        }
        html += u"</li>"_s;
    }
    return html + u"</ul></body></html>"_s;
}

QString missing_page(const QString &address, bool start_missing)
{
    // ホーム leads back to the start page only when that page is there.
    const QString advice =
        start_missing ? u"ヘルプのファイルが入っていないか、消されています。"
                        u"ぽん採点をインストールし直すと、ヘルプも元に戻ります。"_s
                      : u"ツールバーの「ホーム」で最初のページに戻れます。"_s;
    return page_head(u"ページが見つかりません"_s) + u"<h1>ページが見つかりません</h1><p>「"_s +
           address.toHtmlEscaped() + u"」は見つかりませんでした。</p><p>"_s + advice +
           u"</p></body></html>"_s;
}

}  // namespace help
