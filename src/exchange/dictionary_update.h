// Refreshing the four code dictionaries that the registering side distributes: the plans below
// a project source (DFJHZDXX), the library classification (ztflh), the discipline
// classification (xkfl) and the affiliated ministries (lsbw). A dictionary is replaced either
// from an ARJ package holding its exchange text file or by a ready dBASE file. Either way the
// new table is complete and checked before it replaces the old one, so a bad package or file
// leaves the dictionary as it was.
#pragma once

#include "archiver.h"
#include "store/database.h"
#include "store/field.h"
#include "store/result.h"

#include <QString>

#include <string>

namespace xb::exchange {

using Dictionary = DictionaryPackage;

// The table of a dictionary ("DFJHZDXX", "ztflh", "xkfl", "lsbw").
std::string dictionaryTable(Dictionary dictionary);
// The name a dBASE file must carry to replace the dictionary ("DFJHZDXX.DBF", "ZTFLH.DBF",
// "XKFL.DBF", "LSBW.DBF").
QString dictionaryFileName(Dictionary dictionary);

// Whether a chosen path names the dictionary's package: the path, trimmed, ends in the package
// name ("DFJHXX.ARJ", ...), letter case ignored.
bool isDictionaryPackagePath(const QString& path, Dictionary dictionary);
// Whether a chosen path names the dictionary's dBASE file: its file name is exactly the
// dictionary's file name, letter case ignored.
bool isDictionaryFilePath(const QString& path, Dictionary dictionary);

// Whether a table carries the columns the program reads from the dictionary: the code and
// label fields by name, and for the classifications the level, code and label columns by
// position with the code column named xxdm.
store::Status checkDictionaryLayout(const store::FieldList& fields, Dictionary dictionary);

// Extracts the dictionary's text file from the package at `packagePath` (in a temporary
// folder, so the package's own folder may be read-only) and replaces the dictionary's rows
// with its records, read by the dictionary variant of the exchange reader. Yields the number
// of rows. A package without the text file, a record the table cannot take or a file without
// any record leaves the dictionary unchanged.
store::Result<int> updateDictionaryFromPackage(store::Database& db, const Archiver& archiver,
                                               const QString& packagePath, Dictionary dictionary);

// Replaces the dictionary's table file by a byte-for-byte copy of the dBASE file at
// `filePath`, once the copy is complete and opens as a table with the dictionary's columns.
store::Status updateDictionaryFromFile(store::Database& db, const QString& filePath,
                                       Dictionary dictionary);

} // namespace xb::exchange
