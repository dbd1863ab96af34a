#include "executable.h"

#include "byte_view.h"
#include "mz_format.h"

namespace icons {

std::optional<NewHeader> ReadNewHeader(const ByteSource& source) {
    const auto dos = Fetch(source, 0, mz::kSize, mz::kSize);
    if (!dos) return std::nullopt;
    const ByteView v(*dos);
    if (v.u16(mz::kMagic) != mz::kSignature) return std::nullopt;
    NewHeader h;
    h.offset = v.u32(mz::kNewHeaderOffset);
    std::uint8_t sig[mz::kNewSignatureBytes] = {};
    if (!source.read(h.offset, sig, sizeof sig)) return std::nullopt;
    h.signature[0] = static_cast<char>(sig[0]);
    h.signature[1] = static_cast<char>(sig[1]);
    return h;
}

}  // namespace icons
