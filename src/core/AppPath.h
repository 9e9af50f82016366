#pragma once

#include <QString>

// The data folder, without a trailing separator, created when missing:
// $OMBRIVO_HOME when set; the user's application-data folder when the executable runs from an
// installation's bin folder; otherwise the executable's own folder (portable use, build tree).
QString AppPath();

// The rule behind AppPath, with its inputs spelled out, for tests.
QString dataFolderFor(const QString &homeOverride, const QString &executableDir,
                      const QString &installBinDir, const QString &userDataDir);

// The help document: in the installation's shared data folder for an installed executable,
// otherwise beside the executable.
QString HelpDocumentPath();

// Whether a file can be found at `path` (also an empty one); never throws.
bool FileExists(const QString &path);
