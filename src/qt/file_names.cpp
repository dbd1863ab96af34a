#include "file_names.h"

namespace platform_qt {
namespace {

// The length of the UTF-8 character at `at` and its code point, or 0 when the
// bytes there are no character: a stray continuation byte, a cut sequence,
// an overlong form, a surrogate, or a value past U+10FFFF.
int Utf8Character(const std::string& s, std::size_t at, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    int n = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) n = 2, code = lead & 0x1F, min = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF) n = 3, code = lead & 0x0F, min = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4) n = 4, code = lead & 0x07, min = 0x10000;
    else return 0;
    if (s.size() - at < static_cast<std::size_t>(n)) return 0;
    for (int i = 1; i < n; ++i) {
        const unsigned char c = byte(at + static_cast<std::size_t>(i));
        if ((c & 0xC0) != 0x80) return 0;
        code = (code << 6) | (c & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return n;
}

constexpr char16_t kEscapeBase = 0xDC00;  // + the byte, 0x80..0xFF

}  // namespace

QString FileNameToQString(const std::string& bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t code = 0;
        if (const int n = Utf8Character(bytes, at, code)) {
            const char32_t one[1] = {code};
            out += QString::fromUcs4(one, 1);
            at += static_cast<std::size_t>(n);
        } else {
            out += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
        }
    }
    return out;
}

std::string QStringToFileName(const QString& name) {
    std::string out;
    out.reserve(static_cast<std::size_t>(name.size()));
    const auto utf8 = [&](char32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < name.size() && QChar::isLowSurrogate(name[i + 1].unicode())) {
            utf8(QChar::surrogateToUcs4(u, name[i + 1].unicode()));
            ++i;
        } else if (u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) {
            out += static_cast<char>(u - kEscapeBase);
        } else if (QChar::isSurrogate(u)) {
            utf8(0xFFFD);  // no name of ours holds one; typed text cannot
        } else {
            utf8(u);
        }
    }
    return out;
}

}  // namespace platform_qt
