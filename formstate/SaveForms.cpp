// The save walk: every registered form but "AboutForm" gets its section erased and rebuilt
// from its visible components, component by component in creation order, each by every
// rule its kind passes, in the order of the table below.
#include <QDir>
#include <QFileInfo>
#include <exception>
#include <optional>

#include "formstate/FormRegistry.h"
#include "formstate/FormSettings.h"
#include "formstate/IniFile.h"
#include "formstate/ListCodec.h"
#include "formstate/SettingsDir.h"
#include "formstate/SideFileGuard.h"
#include "formstate/Values.h"

namespace formstate {

namespace {

const QString kAboutForm = QStringLiteral("AboutForm");
// List box side files end every item with this, the last one too.
const QString kItemBreak = QStringLiteral("\n");

// A side file the walk has decided to write, and settings.dat's text at that step.
struct SideFileWrite {
    QString path;
    QString text;
    platform::TextEncoding encoding;
    std::optional<QString> settingsBefore;
};

struct SaveContext {
    IniBatch& ini;
    QString section;
    std::vector<SideFileWrite>& sideFiles;

    void WriteString(const Component& c, const char* suffix, const QString& value) {
        ini.WriteString(section, c.Name() + QLatin1String(suffix), value);
    }
    void WriteInteger(const Component& c, const char* suffix, int32_t value) {
        ini.WriteInteger(section, c.Name() + QLatin1String(suffix), value);
    }
};

// A directory that cannot be made is not reported here: the side file written next fails.
void MakeDirectory(const QString& path) {
    QDir().mkpath(path);
}

// Writes a side file; one whose content this run never saw is kept as a backup first.
void WriteSideFile(const QString& path, const QString& text, platform::TextEncoding encoding) {
    KeepUnknownSideFile(path, platform::EncodeText(text, encoding),
                        UserDataDir() + QStringLiteral("backups/"));
    platform::WriteTextFile(path, text, encoding);
    NoteSideFileKnown(path);
}

void SaveMemo(SaveContext& s, Component& c) {
    MakeDirectory(SettingsDir() + kMemoFolder);
    s.WriteString(c, ".File", c.Name());
    s.sideFiles.push_back(
        {MemoSideFilePath(c.Name()), c.Text(), c.LinesEncoding(), s.ini.Checkpoint()});
}

void SaveText(SaveContext& s, Component& c) {
    s.WriteString(c, ".Text", c.Text());
}

void SaveTime(SaveContext& s, Component& c) {
    s.WriteString(c, ".Time", FormatTime(c.Time()));
}

void SaveComboBox(SaveContext& s, Component& c) {
    s.WriteString(c, ".Items", EncodeList(c.Items()));
    s.WriteString(c, ".Text", c.Text());
}

void SaveChecked(SaveContext& s, Component& c) {
    s.ini.WriteBool(s.section, c.Name() + QStringLiteral(".Checked"), c.Checked());
}

void SaveItemIndex(SaveContext& s, Component& c) {
    s.WriteInteger(c, ".ItemIndex", c.ItemIndex());
}

// A 32-bit spin edit stores its value; a 64-bit one its low 32 bits.
void SaveValue(SaveContext& s, Component& c) {
    s.WriteInteger(c, ".Value", static_cast<int32_t>(static_cast<uint32_t>(c.Value())));
}

void SaveColor(SaveContext& s, Component& c) {
    s.WriteInteger(c, ".Color", c.Color());
}

void SaveFloatValue(SaveContext& s, Component& c) {
    s.ini.WriteFloat(s.section, c.Name() + QStringLiteral(".FloatValue"), c.FloatValue());
}

void SaveListBoxFile(SaveContext& s, Component& c) {
    MakeDirectory(SettingsDir() + kListFolder);
    s.WriteString(c, ".File", c.Name());
    QString text;
    for (const QString& item : c.Items())
        text += item + kItemBreak;
    s.sideFiles.push_back(
        {ListSideFilePath(c.Name()), text, c.LinesEncoding(), s.ini.Checkpoint()});
}

void SaveItems(SaveContext& s, Component& c) {
    s.WriteString(c, ".Items", EncodeList(c.Items()));
}

void SaveCheckListItems(SaveContext& s, Component& c) {
    std::vector<CheckedItem> items;
    const QStringList texts = c.Items();
    for (int i = 0; i < texts.size(); ++i)
        items.push_back({texts[i], c.ItemChecked(i)});
    s.WriteString(c, ".Items", EncodeCheckList(items));
}

struct SaveRule {
    Kind kind;
    void (*save)(SaveContext&, Component&);
};

// In this order. A component passes every rule whose kind it is (is-a); a key written
// twice keeps its first place.
const SaveRule kSaveRules[] = {
    {Kind::TMemo, SaveMemo},                    // 1  ".File" + System/<Name>.txt
    {Kind::TsDateEdit, SaveText},               // 2  ".Text"
    {Kind::TDateTimePicker, SaveTime},          // 3  ".Time"
    {Kind::TEdit, SaveText},                    // 4  ".Text"
    {Kind::TsEdit, SaveText},                   // 5  ".Text"
    {Kind::TsCurrencyEdit, SaveText},           // 6  ".Text"
    {Kind::TLabeledEdit, SaveText},             // 7  ".Text"
    {Kind::TComboBox, SaveComboBox},            // 8  ".Items", ".Text"
    {Kind::TsComboBox, SaveComboBox},           // 9  ".Items", ".Text"
    {Kind::TCheckBox, SaveChecked},             // 10 ".Checked"
    {Kind::TRadioButton, SaveChecked},          // 11 ".Checked"
    {Kind::TsCheckBox, SaveChecked},            // 12 ".Checked"
    {Kind::TsRadioButton, SaveChecked},         // 13 ".Checked"
    {Kind::TRadioGroup, SaveItemIndex},         // 14 ".ItemIndex"
    {Kind::TSpinEdit, SaveValue},               // 15 ".Value"
    {Kind::TsSpinEdit, SaveValue},              // 16 ".Value", low 32 bits
    {Kind::TPanel, SaveColor},                  // 17 ".Color"
    {Kind::TAdvSpinEdit, SaveFloatValue},       // 18 ".FloatValue"
    {Kind::TListBox, SaveListBoxFile},          // 19 ".File" + System/Settings/<Name>.txt
    {Kind::TsListBox, SaveItems},               // 20 ".Items"
    {Kind::TCheckListBox, SaveCheckListItems},  // 21 ".Items" with check markers
};

}  // namespace

QString SettingsFilePath() {
    return SettingsDir() + kSettingsFileName;
}

QString MemoSideFilePath(const QString& name) {
    return SettingsDir() + kMemoFolder + name + QStringLiteral(".txt");
}

QString ListSideFilePath(const QString& name) {
    return SettingsDir() + kListFolder + name + QStringLiteral(".txt");
}

QStringList SavedSideFiles() {
    QStringList files;
    for (Form* form : RegisteredForms()) {
        if (form->Name() == kAboutForm) continue;
        form->ForEachComponent([&files](Component& c) {
            if (!c.OwnVisible()) return;
            if (IsA(c.ComponentKind(), Kind::TMemo))
                files << kMemoFolder + c.Name() + QStringLiteral(".txt");
            if (IsA(c.ComponentKind(), Kind::TListBox))
                files << kListFolder + c.Name() + QStringLiteral(".txt");
        });
    }
    return files;
}

void SaveFormSettings(const QString& fileName) {
    SaveFormSettings(fileName, RegisteredForms());
}

void SaveFormSettings(const QString& fileName, const std::vector<Form*>& forms) {
    // The user's data directory does not exist before the first save.
    MakeDirectory(QFileInfo(fileName).absolutePath());
    // settings.dat is rebuilt in memory and replaced once, then the side files are written
    // in the order of the walk: a save cut short by a kill leaves each file old or new, and
    // settings.dat never lacks the keys that lead to the side files. A failure leaves what
    // a walk writing key by key would have left: settings.dat as it stood at the failing
    // step, the files before it written, nothing after it.
    IniBatch ini(fileName);
    std::vector<SideFileWrite> sideFiles;
    std::exception_ptr walkFailure;
    try {
        for (Form* form : forms) {
            const QString section = form->Name();
            // The about box keeps its section exactly as it stands (exact, case-sensitive).
            if (section == kAboutForm) continue;
            ini.EraseSection(section);
            SaveContext context{ini, section, sideFiles};
            form->ForEachComponent([&](Component& c) {
                if (!c.OwnVisible()) return;
                for (const SaveRule& rule : kSaveRules)
                    if (IsA(c.ComponentKind(), rule.kind)) rule.save(context, c);
            });
        }
    } catch (const IniWriteError&) {
        throw;  // settings.dat cannot be read: nothing is written
    } catch (...) {
        walkFailure = std::current_exception();
    }
    ini.Commit();
    for (const SideFileWrite& side : sideFiles) {
        try {
            WriteSideFile(side.path, side.text, side.encoding);
        } catch (...) {
            try {
                ini.CommitCheckpoint(side.settingsBefore);
            } catch (const std::exception&) {
                // The side file's failure is the one to tell.
            }
            throw;
        }
    }
    if (walkFailure) std::rethrow_exception(walkFailure);
}

}  // namespace formstate
