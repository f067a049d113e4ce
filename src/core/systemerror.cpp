#include "systemerror.h"

#include <QtGlobal>
#include <cerrno>
#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

namespace systemerror {

QString in_japanese(const QString &system_text)
{
    static const std::pair<int, QString> known[] = {
        {ENOENT, u"ファイルまたはフォルダーが見つかりません"_s},
        {EACCES, u"アクセスする権限がありません"_s},
        {EPERM, u"この操作は許可されていません"_s},
        {EISDIR, u"フォルダーです"_s},
        {ENOTDIR, u"途中の名前がフォルダーではありません"_s},
        {ENOSPC, u"ディスクに空きがありません"_s},
        {EDQUOT, u"ディスクの使用量の上限を超えました"_s},
        {EROFS, u"書き込みのできない場所です"_s},
        {EIO, u"読み書きの途中でエラーが起きました（ディスクや USB メモリーを確かめてください）"_s},
        {ENAMETOOLONG, u"ファイル名が長すぎます"_s},
        {EMFILE, u"開いているファイルが多すぎます"_s},
        {ENFILE, u"開いているファイルが多すぎます"_s},
        {EFBIG, u"ファイルが大きすぎます"_s},
        {ELOOP, u"シンボリックリンクがたどれません"_s},
        {EBUSY, u"ほかのプログラムが使用中です"_s},
        {ETXTBSY, u"ほかのプログラムが使用中です"_s},
        {EEXIST, u"同じ名前のファイルがすでにあります"_s},
        {ENXIO, u"装置が見つかりません"_s},
        {ENODEV, u"装置が見つかりません"_s},
        {EINVAL, u"この場所には保存できません"_s},
    };
    if (system_text == u"Filename refers to a directory"_s)  // QSaveFile's own
        return u"フォルダーです"_s;
    // Qt words a few errors itself; the rest are the C library's texts.
    for (const auto &[code, text] : known) {
        if (system_text == qt_error_string(code) ||
            system_text == QString::fromLocal8Bit(std::strerror(code)))
            return text;
    }
    return system_text;
}

}  // namespace systemerror
