// A new file can only stand in for an old one when nobody would notice the
// difference in who may use it. fchown() gives a file away only for root, so
// a member of a group saving a colleague's file cannot carry its owner; the
// setgid bit silently drops for a group the saver is not in; an attribute of
// a namespace the saver may not write is refused. Each of these shows in the
// result, never as a file that quietly changed hands. A new file also takes
// the directory's default ACL, which may let in someone the old file kept
// out: that goes.
#include "platform/posix/file_identity_posix.h"

#include <cerrno>
#include <cstring>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Attribute names and values larger than these are not carried, and the
// file then keeps its name by the copy.
constexpr size_t NAME_LIST_SIZE = 16384;
constexpr size_t VALUE_SIZE = 65536;
constexpr char ACL_ACCESS[] = "system.posix_acl_access";
constexpr mode_t OWNER_READ_WRITE = 0600;

// An attribute the new file already holds as the old one does (a security
// label the directory gives every new file) is left alone: writing it may
// need a privilege that carrying it does not.
bool alreadyHeld(int to, const char* name, const char* value, ssize_t size) {
    static char held[VALUE_SIZE];
    return fgetxattr(to, name, held, sizeof held) == size &&
           std::memcmp(held, value, size_t(size)) == 0;
}

bool carryAttributes(int from, int to) {
    static char names[NAME_LIST_SIZE];
    static char value[VALUE_SIZE];
    ssize_t listed = flistxattr(from, names, sizeof names);
    if (listed < 0)
        return errno == ENOTSUP; // a file system without attributes has none to lose
    for (ssize_t at = 0; at < listed; at += ssize_t(std::strlen(names + at)) + 1) {
        const char* name = names + at;
        ssize_t size = fgetxattr(from, name, value, sizeof value);
        if (size < 0)
            return false;
        if (!alreadyHeld(to, name, value, size) && fsetxattr(to, name, value, size_t(size), 0) != 0)
            return false;
    }
    return true;
}

bool hasAcl(int fd) {
    return fgetxattr(fd, ACL_ACCESS, nullptr, 0) > 0;
}

} // namespace

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int fileDropAcl(int fd) {
    if (fremovexattr(fd, ACL_ACCESS) == 0 || errno == ENODATA || errno == ENOTSUP)
        return 0;
    return errno;
}

bool fileCarryIdentity(int from, const struct stat& old, int to) {
    if (fchown(to, old.st_uid, old.st_gid) != 0)
        return false;
    // The ACL is an attribute too, carried exactly where the old file has
    // one; the permission bits set after it are the ones it stands for.
    if (!carryAttributes(from, to))
        return false;
    if (!hasAcl(from) && fileDropAcl(to) != 0)
        return false;
    if (fchmod(to, old.st_mode & 07777) != 0)
        return false;
    struct stat now;
    return fstat(to, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
           (now.st_mode & 07777) == (old.st_mode & 07777);
}

int fileGiveAccessOf(int from, const struct stat& old, int to) {
    const bool groupGiven = fchown(to, uid_t(-1), old.st_gid) == 0;
    static char acl[VALUE_SIZE];
    const ssize_t size = fgetxattr(from, ACL_ACCESS, acl, sizeof acl);
    const bool withoutAcl = size < 0 && (errno == ENODATA || errno == ENOTSUP);
    if (size > 0 && groupGiven)
        return fsetxattr(to, ACL_ACCESS, acl, size_t(size), 0) == 0 ? 0 : errno;
    // The copy's owner is whoever saves, who may read the file. Without the
    // file's group, the bits for a group (with an ACL: its mask) would let
    // in another group.
    mode_t mode = OWNER_READ_WRITE;
    if (withoutAcl)
        mode |= old.st_mode & (groupGiven ? 0077 : 0007);
    return fchmod(to, mode) == 0 ? 0 : errno;
}
