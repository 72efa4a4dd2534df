#include "maker/common/filereasons.h"

namespace quillo::maker {

std::optional<QString> deviceErrorReason(int errorNumber) {
    switch (errorNumber) {
    case 68:
        return QStringLiteral(" デバイスが準備されていません。");
    case 71:
        return QStringLiteral(" ディスクが準備されていません。");
    case 75:
    case 76:
        return QStringLiteral(" パス名が無効か、パスが見つかりません。");
    case 57:
        return QStringLiteral(" デバイス I/O エラーです。");
    default:
        return std::nullopt;
    }
}

} // namespace quillo::maker
