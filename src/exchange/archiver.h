// Packing and unpacking ARJ packages with the external "arj" program, found in the
// application's folder first and then on the PATH. Each call runs the program in the given
// working folder and waits for its end, within a bound, so that callers read outputs and delete
// inputs only once the archiver is done. Failures come back as Errors with a Chinese text.
#pragma once

#include "store/result.h"

#include <QString>
#include <QStringList>

#include <chrono>

namespace xb::exchange {

class Archiver {
  public:
    // Packing or unpacking the largest packages takes seconds; a run beyond this bound is stuck.
    static constexpr std::chrono::milliseconds DefaultTimeout = std::chrono::minutes(1);

    // The arj found by findProgram().
    Archiver();
    // A given arj program (a path); an empty or missing one is reported at the first call.
    explicit Archiver(QString program, std::chrono::milliseconds timeout = DefaultTimeout);

    // "arj" in the application folder, else on the PATH; empty when there is none.
    static QString findProgram();
    const QString& program() const { return program_; }

    // "a": stores the named files of `folder` flat in `archive`, which is created when missing
    // (callers that want a new archive delete the old one first). A missing file is refused
    // before the archiver runs; a failed run leaves no archive that was not there before.
    store::Status add(const QString& folder, const QString& archive,
                      const QStringList& files) const;
    // "e": extracts every file of `archive` flat into `folder`, replacing files of the same
    // names. The members are listed first: a package with a member named with a folder, a
    // drive, ".." or a control character is refused before anything is unpacked. Then each of
    // `expectedFiles` must exist there (letter case ignored).
    store::Status extract(const QString& folder, const QString& archive,
                          const QStringList& expectedFiles = {}) const;
    // The names stored in `archive`, in archive order.
    store::Result<QStringList> list(const QString& folder, const QString& archive) const;

  private:
    struct Outcome {
        int exitCode = 0;
        QString output;
    };
    store::Result<Outcome> run(const QString& folder, const QStringList& arguments) const;
    store::Result<QString> existingArchive(const QString& folder, const QString& archive) const;

    QString program_;
    std::chrono::milliseconds timeout_;
};

// Why a stored member name cannot be unpacked flat into a folder (it holds a folder or drive,
// "..", or a control character); empty when it can.
QString unsafeMemberReason(const QString& name);

// The seven files of an exchange package, in the order they are packed.
const QStringList& exchangePackageFiles();
// The five achievement files that package renaming repacks.
const QStringList& renamedPackageFiles();

// Export: "a cgsbqy.arj KJCG.TXT CGWCDW.TXT CGWCR.TXT JDWYHMD.TXT ZLQK.TXT UNIT.TXT EXPERT.TXT".
store::Status packExchangePackage(const Archiver& archiver, const QString& folder);
// Import: "e CGSBQY.ARJ".
store::Status unpackExchangePackage(const Archiver& archiver, const QString& folder);
// Package renaming: "e <package> -y", then the old-named files must be there.
store::Status unpackOldPackage(const Archiver& archiver, const QString& folder,
                               const QString& packageFileName, const QStringList& expectedFiles);
// Package renaming: "a cgsbqy.arj KJCG.TXT CGWCDW.TXT CGWCR.TXT JDWYHMD.TXT ZLQK.TXT".
store::Status repackRenamedPackage(const Archiver& archiver, const QString& folder);

enum class DictionaryPackage {
    ProjectSources,           // DFJHXX.ARJ holding DFJHXX.TXT
    LibraryClassification,    // ZTFLB.ARJ holding ZTFL.TXT
    DisciplineClassification, // XKFLB.ARJ holding XKFL.TXT
    Ministries,               // LSBWB.ARJ holding LSBW.TXT
};
QString dictionaryPackageName(DictionaryPackage package);
QString dictionaryTextFileName(DictionaryPackage package);
// Dictionary update: "e DFJHXX.ARJ" (or the others), then the text file must be there.
store::Status unpackDictionaryPackage(const Archiver& archiver, const QString& folder,
                                      DictionaryPackage package);

} // namespace xb::exchange
