#include "executable.h"

#include "byte_view.h"

namespace platform::icons {

std::optional<NewHeader> ReadNewHeader(const ByteSource& source) {
    const auto dos = Fetch(source, 0, 64, 64);
    if (!dos) return std::nullopt;
    const ByteView v(*dos);
    if (v.u8(0) != 'M' || v.u8(1) != 'Z') return std::nullopt;
    NewHeader h;
    h.offset = v.u32(0x3C);
    std::uint8_t sig[2] = {};
    if (!source.read(h.offset, sig, 2)) return std::nullopt;
    h.signature[0] = static_cast<char>(sig[0]);
    h.signature[1] = static_cast<char>(sig[1]);
    return h;
}

}  // namespace platform::icons
