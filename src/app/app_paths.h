// Where the program finds its files. There is no configuration: everything lies beside the
// executable.
#pragma once

#include <QString>

namespace xb::app {

// The data directory: the folder of the running executable followed by "/data", without a
// trailing separator. It holds the tables, dictionaries, templates and the welcome picture.
QString dataDirectory();

// The installation folder beside the executable ("/installation"): the dictionary rows, templates
// and welcome picture from which a data directory is created.
QString installationDirectory();

} // namespace xb::app
