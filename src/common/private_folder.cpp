#include "common/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace trevanto {

bool IsPrivateFolder(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

bool MakePrivateFolder(const std::string& path) {
    // mkdir never follows a link in the last place; what is there already is
    // judged as it is, never repaired, since someone else may have put it there.
    if (!path.empty() && ::mkdir(path.c_str(), S_IRWXU) != 0 && errno != EEXIST)
        return false;
    return IsPrivateFolder(path);
}

}  // namespace trevanto
