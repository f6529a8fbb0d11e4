// Files of a folder looked up by name without regard to letter case, as the exchange and
// dictionary packages name them ("KJCG.TXT" may arrive as "kjcg.txt").
#pragma once

#include <QString>

namespace xb::exchange {

// The name under which `name` exists in `folder`: the exact name when present, otherwise the
// first file whose name differs only in letter case; empty when there is none.
QString findFileIgnoringCase(const QString& folder, const QString& name);

} // namespace xb::exchange
