#include "maker/common/filereasons.h"

#include "core/fileerror.h"
#include "core/text.h"

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

QString fileErrorReason(int errorNumber) {
    switch (errorNumber) {
    case FileError::BadFileName:
    case FileError::FileNotFound:
    case FileError::InputPastEnd:
    case FileError::BadRecordNumber:
    case FileError::TooManyFiles:
        return QStringLiteral("ファイルが異常か、見つかりません。");
    default:
        return errorNumberText(errorNumber);
    }
}

} // namespace quillo::maker
