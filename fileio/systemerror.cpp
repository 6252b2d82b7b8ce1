#include "fileio/systemerror.h"

#include <cerrno>
#include <cstring>

namespace mitoon {

QString systemErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("そのようなファイルやフォルダーはありません");
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスが許可されていません");
    case EROFS:
        return QStringLiteral("読み取り専用のファイルシステムです");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダーがあります");
    case ENOTDIR:
        return QStringLiteral("パスの途中にフォルダーではないものがあります");
    case ENOSPC:
        return QStringLiteral("ディスクに空きがありません");
    case EDQUOT:
        return QStringLiteral("ディスクの使用量の上限を超えています");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます");
    case EIO:
        return QStringLiteral("ディスクの読み書きでエラーが起きました");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("ファイルがほかのプログラムで使われています");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが多すぎます");
    default:
        // Anything rarer keeps the system's own words and number.
        return QStringLiteral("システムエラー %1 (%2)")
            .arg(errorNumber)
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

} // namespace mitoon
