// Conversions from the core's UTF-8 strings to QString, for the windows.
#pragma once

#include <QString>
#include <string>

namespace kivo {

inline QString qs(const char* utf8) { return QString::fromUtf8(utf8); }
inline QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace kivo
