#pragma once

#include <QString>

#include <optional>

namespace quillo::maker {

// The reason the settings and file-list warnings give after a path for a device or path
// error (68, 71, 75, 76, 57), with its leading blank; nullopt for other error numbers, whose
// wording differs between the warnings.
std::optional<QString> deviceErrorReason(int errorNumber);

// The reason both warnings give for any other error: a damaged or missing file for the file
// errors that mean so, else "ERR = " and the number.
QString fileErrorReason(int errorNumber);

} // namespace quillo::maker
