#pragma once
// Model text (code page 1250) at the Qt user interface.

#include <QString>
#include <string>
#include <string_view>

namespace koltar {

QString ToQString(std::string_view cp1250);
std::string FromQString(const QString& text);  // to code page 1250

}  // namespace koltar
