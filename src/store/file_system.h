#pragma once

#include <QString>

namespace store {

// Whether the file lies on a network file system (NFS, SMB/CIFS, sshfs and other FUSE mounts,
// 9P, AFS, Ceph): SQLite's locks are not to be trusted there, and a file used from several desks
// can be damaged.
bool onNetworkFileSystem(const QString& path);

} // namespace store
