#include "maker/common/filereasons.h"

#include "core/fileerror.h"

namespace quillo::maker {

std::optional<QString> deviceErrorReason(int errorNumber) {
    switch (errorNumber) {
    case FileError::DeviceUnavailable:
        return QStringLiteral(" デバイスが準備されていません。");
    case FileError::DiskNotReady:
        return QStringLiteral(" ディスクが準備されていません。");
    case FileError::PathFileAccess:
    case FileError::PathNotFound:
        return QStringLiteral(" パス名が無効か、パスが見つかりません。");
    case FileError::DeviceIO:
        return QStringLiteral(" デバイス I/O エラーです。");
    default:
        return std::nullopt;
    }
}

} // namespace quillo::maker
