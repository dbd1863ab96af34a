#pragma once
// Windows 10 and 11 keep the icons of their system libraries apart from the
// code: a library in Windows/System32 (or SysWOW64) whose own resources hold
// no icon group has them in Windows/SystemResources/<its name>.mun, and the
// loader reads them there. A file opened by its path for its icons follows
// that rule, so the window, the tools and the thumbnailer count, draw and save
// the icons Windows shows for it.

#include <memory>
#include <string>

#include "byte_source.h"
#include "icon_file.h"

namespace icons {

// The resource module of `path` by the rule above, folder and file names
// compared in any case; "" when the file is not in such a folder or there is
// no module. Looks only at names: whether the file lacks icons of its own is
// IconFileAt's to tell.
std::string SystemResourcesModuleOf(const std::string& path);

// A file opened by its path for a run of work on its icons: opening reads no
// byte of either file (a confined process opens all it reads first); the
// icons are the file's own, or, for a system library with none, its module's.
class IconFileAt {
public:
    explicit IconFileAt(const std::string& path, OpenOptions options = {});
    ~IconFileAt();
    IconFileAt(const IconFileAt&) = delete;
    IconFileAt& operator=(const IconFileAt&) = delete;

    bool ok() const { return own_.ok(); }
    const FileSource& own() const { return own_; }
    // The module, open; nullptr when the rule does not apply.
    const FileSource* module() const { return module_.get(); }
    // Parsed on the first call.
    const IconFile& icons() const;
    // Where the icons came from, as a user names it ("SystemResources/shell32.dll.mun");
    // "" for the file's own. Valid after icons().
    const std::string& from() const { return from_; }

private:
    FileSource own_;
    OpenOptions options_;
    std::unique_ptr<FileSource> module_;
    std::string modulePath_;
    mutable std::unique_ptr<BufferedSource> buffered_;
    mutable std::unique_ptr<IconFile> icons_;
    mutable std::string from_;
};

}  // namespace icons
