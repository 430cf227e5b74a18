#include "store/file_system.h"

#include <QFile>
#include <array>
#include <sys/vfs.h>

namespace store {

namespace {

// f_type of statfs for the network file systems (linux/magic.h and the file systems' own).
constexpr std::array<unsigned long, 10> kNetworkTypes = {
    0x6969,     // NFS
    0x517B,     // SMB
    0xFF534D42, // CIFS
    0xFE534D42, // SMB2
    0x65735546, // FUSE (sshfs, and other user-space mounts)
    0x01021997, // 9P
    0x5346414F, // AFS
    0x00C36400, // Ceph
    0x73757245, // Coda
    0x564C,     // NCP
};

} // namespace

bool onNetworkFileSystem(const QString& path)
{
    struct statfs info {};
    if (statfs(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    const auto type = static_cast<unsigned long>(static_cast<unsigned int>(info.f_type));
    for (unsigned long network : kNetworkTypes) {
        if (type == network)
            return true;
    }
    return false;
}

} // namespace store
