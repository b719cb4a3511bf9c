// Saving and restoring the state of the application's forms: settings.dat and the side
// files of memos and list boxes, in SettingsDir(). Errors are not caught here; the
// first one ends the call and reaches the caller.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "formstate/FormAdapter.h"

namespace formstate {

// SettingsDir() + "settings.dat".
QString SettingsFilePath();
// SettingsDir() + "System/" + name + ".txt": a memo's whole text.
QString MemoSideFilePath(const QString& name);
// SettingsDir() + "System/Settings/" + name + ".txt": a list box's items.
QString ListSideFilePath(const QString& name);

// The side files that SaveFormSettings writes for the registered forms, relative to the
// settings folder ("System/Numbers_Memo.txt"): one per visible memo and list box.
QStringList SavedSideFiles();

// Rebuilds the section of every registered form (but "AboutForm") in `fileName` from the
// form's visible components, and rewrites their side files. The file need not exist, nor
// its directory.
// Throws IniWriteError or platform::FileCreateError.
void SaveFormSettings(const QString& fileName);
void SaveFormSettings(const QString& fileName, const std::vector<Form*>& forms);

// Gives the components of every registered form back the state stored in `fileName` and
// the side files. A missing file: one beep, nothing else. Throws platform::FileOpenError,
// ConvertError (an unreadable time, a currency text that is no number) or IniWriteError.
void LoadFormSettings(const QString& fileName);
void LoadFormSettings(const QString& fileName, const std::vector<Form*>& forms);

}  // namespace formstate
