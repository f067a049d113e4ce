#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// Where the help pages are, which addresses the help viewer may show, and
// the search over the pages. No widgets: the viewer asks, this answers.
namespace help {

// The help folder under a start folder: trimmed, one separator, "help/".
QString folder_in(const QString &start_dir);

// Where installed help is looked for when the start folder has none: beside
// the program, and in the share folder of an installed package.
QStringList installed_folders(const QString &program_dir);

// The start page "help.htm" of the start folder's help; when it is not there,
// of the first installed help folder that has it. With none, still the start
// folder's, so the viewer can say which page is missing.
QString start_page(const QString &start_dir, const QStringList &installed_folders);

// The address a teacher typed: a web or search address as it is, anything
// else a file, relative ones taken from the help folder.
QUrl address_to_url(const QString &text, const QString &folder);

enum class Destination { Page, Search, Web, Sample, Refused };
// Pages inside the help folder are shown, web links go to the browser, sheet
// files in the sample folder beside the help folder open as new sheets,
// everything else is refused.
Destination destination(const QUrl &url, const QString &folder);

inline constexpr char16_t kSearchScheme[] = u"search";
QUrl search_url(const QString &word);
QString search_word(const QUrl &url);

struct Hit {
    QString file;     // absolute path of the page
    QString title;
    QString excerpt;  // plain text around the first match
};
// The pages of the folder that contain the word, the most mentions first.
// Half- and full-width forms and letter case do not matter. An empty word
// lists every page.
QList<Hit> search(const QString &folder, const QString &word);

// The generated pages the viewer shows in place of a file.
QString search_page(const QString &word, const QList<Hit> &hits);
// start_missing: the help's start page itself is the one not there.
QString missing_page(const QString &address, bool start_missing);

}  // namespace help
