#pragma once
// The thumbnailer reads whatever file a file manager hands it, downloads
// included, and some file managers run it unsandboxed as the user. So once its
// files are open it gives up everything else: should a malformed file ever take
// over the reader, it finds no file to read, nothing to run and no one to talk to.

#include <string>

namespace cli {

// What a confined process goes on using: two files it has open, and a folder.
struct ConfinedFiles {
    int input = -1;      // read
    int output = -1;     // written: the output's temporary file, or the output itself
    std::string folder;  // where the temporary file takes the output's name, or is removed
    int module = -1;     // read too, when the input's icons live in a resource module
};

// Which of the kernel's two restrictions took hold; both false on a kernel that
// has neither, where the process goes on as before.
struct Confinement {
    bool landlock = false;  // no file opened or run; files made and removed in `folder` alone
    bool seccomp = false;   // no open, exec or socket at all; reads of `input`, writes (and
                            // truncation) of `output`, writes of stderr, memory, rename and unlink, exit
};

// Restricts this process, for good, to finishing its work on `files`. Call it
// while single-threaded: the restrictions bind the calling thread and what it starts.
Confinement Confine(const ConfinedFiles& files);

}  // namespace cli
