// The thumbnailer's confinement: a confined process still finishes its thumbnail, and each other
// thing it tries fails. A confinement lasts for the life of a process, so each case has a child.
#include <fcntl.h>
#include <functional>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "cli/confinement.h"
#include "test_support.h"

namespace icon_tests {
namespace {

struct Files { std::string dir; int input, output, other; };  // `other`: open, but neither input nor output
enum class DeniedBy { Nothing, Either, Landlock, Seccomp };   // Nothing: it must succeed
struct Attempt { const char* name; DeniedBy denier; std::function<bool(const Files&)> succeeds; };

const Attempt kAttempts[] = {
    {"ReadsItsInput", DeniedBy::Nothing, [](const Files& f) { char b[4]; return pread(f.input, b, 4, 0) == 4; }},
    {"WritesAndRenamesItsOutput", DeniedBy::Nothing, [](const Files& f) {
         return write(f.output, "png", 3) == 3 && rename((f.dir + "/out/.t").c_str(), (f.dir + "/out/t.png").c_str()) == 0; }},
    {"EmptiesAndWritesItsOutputInPlace", DeniedBy::Nothing, [](const Files& f) {
         return write(f.output, "old", 3) == 3 && ftruncate(f.output, 0) == 0 && pwrite(f.output, "png", 3, 0) == 3; }},
    {"EmptiesNoOtherFile", DeniedBy::Seccomp, [](const Files& f) { return ftruncate(f.other, 0) == 0; }},
    {"RemovesItsTemporaryFile", DeniedBy::Nothing, [](const Files& f) { return unlink((f.dir + "/out/.t").c_str()) == 0; }},
    {"AllocatesMemory", DeniedBy::Nothing, [](const Files&) { std::vector<char> v(64 << 20, 1); return v.back() == 1; }},
    {"OpensNoOtherFile", DeniedBy::Either, [](const Files& f) { return open((f.dir + "/other").c_str(), O_RDONLY) >= 0; }},
    {"OpensNoFileBesideItsOutput", DeniedBy::Either, [](const Files& f) { return open((f.dir + "/out/old").c_str(), O_RDONLY) >= 0; }},
    {"CreatesNoFile", DeniedBy::Either, [](const Files& f) { return open((f.dir + "/out/new").c_str(), O_WRONLY | O_CREAT, 0600) >= 0; }},
    {"RunsNothing", DeniedBy::Either, [](const Files&) { return execl("/bin/true", "true", nullptr) == 0; }},
    {"RenamesNothingOutOfItsFolder", DeniedBy::Landlock, [](const Files& f) {
         return rename((f.dir + "/out/.t").c_str(), (f.dir + "/moved").c_str()) == 0; }},
    {"OpensNoLocalSocket", DeniedBy::Seccomp, [](const Files&) { return socket(AF_UNIX, SOCK_STREAM, 0) >= 0; }},
    {"OpensNoNetworkSocket", DeniedBy::Seccomp, [](const Files&) { return socket(AF_INET, SOCK_DGRAM, 0) >= 0; }},
    {"ReadsNoOtherDescriptor", DeniedBy::Seccomp, [](const Files& f) { char b[4]; return pread(f.other, b, 4, 0) == 4; }},
    {"MakesNoExecutableMemory", DeniedBy::Seccomp, [](const Files&) {
         return mmap(nullptr, 4096, PROT_READ | PROT_EXEC, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0) != MAP_FAILED; }},
};

void PrintTo(const Attempt& a, std::ostream* os) { *os << a.name; }

class Confined : public testing::TestWithParam<Attempt> {};

TEST_P(Confined, FinishesItsThumbnailAndNothingElse) {
    TempDir dir;
    dir.file("in", Bytes(16, 7)), dir.file("other", Bytes(16, 7));
    ASSERT_EQ(mkdir((dir.path() + "/out").c_str(), 0700), 0);
    dir.file("out/old", Bytes(16, 7));
    // Shared with the child, which after the confinement may write nowhere else.
    auto* took = static_cast<cli::Confinement*>(mmap(nullptr, sizeof(cli::Confinement), PROT_READ | PROT_WRITE,
                                                     MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(took, MAP_FAILED);
    const pid_t child = fork();
    if (child == 0) {  // exit status 0: the attempt succeeded (or exec ran /bin/true), 1: it failed
        const Files f{dir.path(), open((dir.path() + "/in").c_str(), O_RDONLY),
                      open((dir.path() + "/out/.t").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600),
                      open((dir.path() + "/other").c_str(), O_RDWR)};
        if (f.input < 0 || f.output < 0 || f.other < 0) _exit(2);
        *took = cli::Confine({f.input, f.output, dir.path() + "/out"});
        _exit(GetParam().succeeds(f) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const cli::Confinement c = *took;
    munmap(took, sizeof(cli::Confinement));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) < 2) << "the child died or could not open its files";
    const DeniedBy d = GetParam().denier;
    if (!c.landlock && !c.seccomp) GTEST_SKIP() << "this kernel has neither Landlock nor seccomp";
    if ((d == DeniedBy::Landlock && !c.landlock) || (d == DeniedBy::Seccomp && !c.seccomp))
        GTEST_SKIP() << "only " << (c.landlock ? "Landlock" : "seccomp") << " took hold here";
    EXPECT_EQ(WEXITSTATUS(status) == 0, d == DeniedBy::Nothing) << "Landlock " << c.landlock << ", seccomp " << c.seccomp;
}

INSTANTIATE_TEST_SUITE_P(Thumbnailer, Confined, testing::ValuesIn(kAttempts),
                         [](const testing::TestParamInfo<Attempt>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace icon_tests
