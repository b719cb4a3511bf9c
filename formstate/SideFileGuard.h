// Side files that the save must not simply write over. A side file on disk whose content
// this run never loaded holds numbers the program has not seen: it could not be read at
// start, settings.dat did not lead to it (missing, damaged, or naming another file), or it
// held bytes that are not valid text in its encoding (read as U+FFFD, they cannot be
// written back).
// Replacing it with what the control holds now would lose them, so the save first keeps
// such a file under a backup name beside it. (The settings accessor uses the same backup
// names for a settings file whose bytes it cannot write back.)
#pragma once

#include <QByteArray>
#include <QString>

namespace formstate {

// The first of "<path>.bak", "<path>.bak2", "<path>.bak3", ... that names nothing yet.
QString FreeBackupName(const QString& path);

// Notes that the file at `path` holds what this run loaded from it or wrote into it.
void NoteSideFileKnown(const QString& path);

// Runs before the side file at `path` is replaced by `bytes`. When a regular file stands
// there whose content this run neither loaded nor wrote, and that is neither empty nor
// `bytes` already (or cannot be read to tell), it is renamed to the first free name of
// "<path>.bak", "<path>.bak2", "<path>.bak3", ... When its folder takes no new file, it is
// copied instead to the first free such name of its file name in `fallbackFolder` (made
// when missing; the user's data folder's backups/), so that the save can go on. Throws
// platform::FileCreateError for `path` when neither works; the file then stays as it is.
void KeepUnknownSideFile(const QString& path, const QByteArray& bytes,
                         const QString& fallbackFolder = QString());

}  // namespace formstate
