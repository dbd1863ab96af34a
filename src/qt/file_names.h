#pragma once
// File names are bytes; Qt's are text. A name that is not UTF-8 (made on a
// system with another encoding, or copied from one) would come back from
// Qt's own conversion with U+FFFD in place of its bytes, naming another file.
// Here each byte that is not part of a UTF-8 character travels as a lone
// surrogate U+DC80..U+DCFF and turns back into that byte, so a name handed
// to a dialog and chosen there unchanged names the same file.

#include <QString>
#include <string>

namespace platform_qt {

QString FileNameToQString(const std::string& bytes);
std::string QStringToFileName(const QString& name);

}  // namespace platform_qt
