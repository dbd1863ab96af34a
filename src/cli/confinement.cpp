#include "confinement.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <initializer_list>
#include <linux/landlock.h>
#include <seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace cli {
namespace {

// Rights of later Landlock versions than the headers of Debian 12 know.
constexpr std::uint64_t kLandlockTruncate = 1ULL << 14;  // version 3
constexpr std::uint64_t kLandlockIoctlDev = 1ULL << 15;  // version 5

// Every file right the running kernel's Landlock can take away: a right it is
// not told to handle stays allowed everywhere.
std::uint64_t LandlockRights(long version) {
    std::uint64_t rights = (LANDLOCK_ACCESS_FS_MAKE_SYM << 1) - 1;  // version 1: execute .. make symlink
    if (version >= 2) rights |= LANDLOCK_ACCESS_FS_REFER;
    if (version >= 3) rights |= kLandlockTruncate;
    if (version >= 5) rights |= kLandlockIoctlDev;
    return rights;
}

bool RestrictWithLandlock(const std::string& folderPath) {
    const long version = ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    if (version < 1) return false;  // not built into this kernel, or switched off at boot
    landlock_ruleset_attr ruleset{};
    ruleset.handled_access_fs = LandlockRights(version);
    const int folder = ::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return false;
    const int fd = static_cast<int>(::syscall(SYS_landlock_create_ruleset, &ruleset, sizeof ruleset, 0));
    if (fd < 0) {
        ::close(folder);
        return false;
    }
    // Renaming the temporary file onto the output's name makes a file there and
    // removes one (the temporary name, and an older output); removing the
    // temporary file after a failure removes one. Not even reading or writing:
    // both files are open already. Not REFER: nothing leaves the folder.
    landlock_path_beneath_attr beneath{};
    beneath.allowed_access = LANDLOCK_ACCESS_FS_MAKE_REG | LANDLOCK_ACCESS_FS_REMOVE_FILE;
    beneath.parent_fd = folder;
    const bool ok = ::syscall(SYS_landlock_add_rule, fd, LANDLOCK_RULE_PATH_BENEATH, &beneath, 0) == 0 &&
                    ::syscall(SYS_landlock_restrict_self, fd, 0) == 0;
    ::close(fd);
    ::close(folder);
    return ok;
}

scmp_arg_cmp Arg(unsigned index, scmp_compare op, std::uint64_t a, std::uint64_t b = 0) {
    return scmp_arg_cmp{index, op, a, b};
}

// Built before anything is restricted, as libseccomp may need what Landlock takes away.
scmp_filter_ctx SeccompFilter(const ConfinedFiles& files) {
    // A call not listed fails with EPERM rather than killing the process. A
    // library that probes for something (a tunable, a terminal) then goes on
    // without it, and a reader that meets a denied call reports a failure like
    // any other: one line on stderr, the temporary file removed, exit status 1.
    // Killed, the thumbnailer would leave its temporary file in the thumbnail
    // folder and look to the file manager like a crash. A denied call achieves
    // nothing either way.
    const scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ERRNO(EPERM));
    if (filter == nullptr) return nullptr;
    // A rule that cannot be added leaves its call denied: the safe side.
    const auto allow = [filter](int call, std::initializer_list<scmp_arg_cmp> args = {}) {
        seccomp_rule_add_array(filter, SCMP_ACT_ALLOW, call, static_cast<unsigned>(args.size()), args.begin());
    };
    // Memory, as malloc, libstdc++ and libpng use it; never executable, so
    // that no code brought in the file can be made to run.
    for (const int call : {SCMP_SYS(brk), SCMP_SYS(munmap), SCMP_SYS(mremap), SCMP_SYS(madvise)}) allow(call);
    for (const int call : {SCMP_SYS(mmap), SCMP_SYS(mprotect)})
        allow(call, {Arg(2, SCMP_CMP_MASKED_EQ, PROT_EXEC, 0)});
    // The input read, the thumbnail written and failures reported, each on its own descriptor
    // alone: a descriptor the file manager left open to us stays untouched.
    for (const int call : {SCMP_SYS(read), SCMP_SYS(pread64), SCMP_SYS(readv), SCMP_SYS(preadv)}) {
        allow(call, {Arg(0, SCMP_CMP_EQ, static_cast<std::uint64_t>(files.input))});
        if (files.module >= 0) allow(call, {Arg(0, SCMP_CMP_EQ, static_cast<std::uint64_t>(files.module))});
    }
    for (const int call : {SCMP_SYS(write), SCMP_SYS(pwrite64), SCMP_SYS(writev)}) {
        allow(call, {Arg(0, SCMP_CMP_EQ, static_cast<std::uint64_t>(files.output))});
        allow(call, {Arg(0, SCMP_CMP_EQ, STDERR_FILENO)});
    }
    // An output the file manager made and reads back is emptied before the
    // thumbnail goes in, and again should writing it fail.
    allow(SCMP_SYS(ftruncate), {Arg(0, SCMP_CMP_EQ, static_cast<std::uint64_t>(files.output))});
    for (const int call : {SCMP_SYS(lseek), SCMP_SYS(fstat), SCMP_SYS(close), SCMP_SYS(fsync), SCMP_SYS(fdatasync)})
        allow(call);
    // The thumbnail takes its name, or its temporary file goes. These calls
    // take paths the filter cannot see; Landlock, where the kernel has it,
    // holds them to the output's folder.
    for (const int call : {SCMP_SYS(rename), SCMP_SYS(renameat), SCMP_SYS(renameat2), SCMP_SYS(unlink),
                           SCMP_SYS(unlinkat)})
        allow(call);
    // Locks, signal masks, the clock, and the end: exit, or abort() signalling
    // this process alone.
    for (const int call : {SCMP_SYS(futex), SCMP_SYS(sched_yield), SCMP_SYS(rt_sigprocmask), SCMP_SYS(rt_sigaction),
                           SCMP_SYS(rt_sigreturn), SCMP_SYS(restart_syscall), SCMP_SYS(clock_gettime),
                           SCMP_SYS(getrandom), SCMP_SYS(getpid), SCMP_SYS(gettid), SCMP_SYS(exit),
                           SCMP_SYS(exit_group)})
        allow(call);
    allow(SCMP_SYS(tgkill), {Arg(0, SCMP_CMP_EQ, static_cast<std::uint64_t>(::getpid()))});
    return filter;
}

}  // namespace

Confinement Confine(const ConfinedFiles& files) {
    Confinement result;
    const scmp_filter_ctx filter = SeccompFilter(files);
    // Both restrictions require it, so that no set-user-ID program run later
    // could inherit a restriction and be fooled by it; there is none to run anyway.
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0) {
        result.landlock = RestrictWithLandlock(files.folder);
        result.seccomp = filter != nullptr && seccomp_load(filter) == 0;
    }
    if (filter != nullptr) seccomp_release(filter);
    return result;
}

}  // namespace cli
