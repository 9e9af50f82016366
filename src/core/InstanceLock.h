#pragma once

#include <QLockFile>

// One running program per data folder, held through a lock file in that folder.
namespace instancelock {

enum class Result {
    Taken,    // this process now holds the lock
    Held,     // another running process holds it
    Unusable, // the lock file cannot be created (the folder is not writable)
};

// Takes `lock` without waiting. A lock whose process has died is taken over however old it is,
// and so is an empty lock file: a process killed between creating the file and writing its id
// into it leaves one, and no live process keeps it empty for longer than an instant.
Result take(QLockFile &lock);

} // namespace instancelock
