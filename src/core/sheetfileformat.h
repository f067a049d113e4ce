#pragma once

#include <QString>

// What the writing and the reading of sheet files share.
namespace sheetfile {

// The first field of every sheet file.
inline QString marker()
{
    return QStringLiteral("評価計算ｼｰﾄ(K_saiten)");
}

}  // namespace sheetfile
