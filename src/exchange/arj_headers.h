// The names an ARJ archive stores, read from its headers without running the archiver: the
// members are checked before anything is unpacked, and reading a few headers costs far less than
// a process of its own for every package.
#pragma once

#include "store/result.h"

#include <QByteArray>
#include <QStringList>

namespace xb::exchange {

// The stored names of the members of the archive `bytes`, in archive order, decoded from the
// code page of the systems the packages come from. Fails when the bytes hold no ARJ archive or
// its headers are damaged (a header whose checksum does not match, a member past the end).
store::Result<QStringList> arjMemberNames(const QByteArray& bytes);

} // namespace xb::exchange
