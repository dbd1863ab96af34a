// Version resources (RT_VERSION): a PE file ("MZ") through the resource tree,
// as IconFile and ReadVersionInfo read it; anything else as the resource's
// own bytes. Every string each reader would show is asked for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "icons/icon_file.h"
#include "icons/version_info.h"

namespace {

void Use(const icons::VersionInfo& info) {
    using Reader = icons::VersionInfo::Reader;
    std::size_t bytes = info.fileVersion.size() + info.productVersion.size();
    for (const icons::VersionStrings& t : info.tables)
        for (const auto& [key, value] : t.values) bytes += key.size() + value.size();
    for (const Reader reader : {Reader::kNeutralOrEnglish, Reader::kChinese}) {
        for (const char* key : {"FileDescription", "ProductName", "CompanyName"})
            if (const auto s = info.String(key, reader)) bytes += s->size();
        bytes += info.FileVersionText(reader).size() + info.ProductVersionText(reader).size();
    }
    // Nothing read can be larger than the resource it came from, many times over.
    if (bytes > (std::size_t{64} << 20)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace icons;
    if (size >= 2 && data[0] == 'M' && data[1] == 'Z') {
        // Through the read-ahead window files are read with, kept small so reads straddle it.
        const MemorySource memory(data, size);
        const BufferedSource source(memory, 512);
        const IconFile file(source);
        const auto opened = file.versionInfo();
        const auto read = ReadVersionInfo(source);
        if (opened != read) std::abort();
        if (read) Use(*read);
    } else if (const auto info = ParseVersionInfo(ByteView(data, size))) {
        Use(*info);
    }
    return 0;
}
