// The restore walk: the components of every registered form, the about box included, get
// their stored state back through their own setters, component by component in creation
// order, each by every rule its kind passes, in the order of the table below. Every
// key-lookup read passes the control's current value as the default, so a missing or
// unreadable key leaves the control as it is.
#include <QFileInfo>

#include "formstate/FormRegistry.h"
#include "formstate/FormSettings.h"
#include "formstate/IniFile.h"
#include "formstate/ListCodec.h"
#include "formstate/SideFileGuard.h"
#include "formstate/Values.h"
#include "platform/core/TextFile.h"
#include "platform/widgets/Ui.h"

namespace formstate {

namespace {

struct LoadContext {
    TIniFile& ini;
    // The settings file as read at the start, every line followed by CR LF; lists are
    // taken from it, and it does not change while the walk writes.
    const QString& fileText;
    QString section;

    QString ReadString(const Component& c, const char* suffix, const QString& def) const {
        return ini.ReadString(section, c.Name() + QLatin1String(suffix), def);
    }
    int32_t ReadInteger(const Component& c, const char* suffix, int32_t def) const {
        return ini.ReadInteger(section, c.Name() + QLatin1String(suffix), def);
    }
};

// Holds a list box in update mode for its lifetime.
class ItemsUpdate {
public:
    explicit ItemsUpdate(Component& c) : c_(c) { c_.BeginItemsUpdate(); }
    ~ItemsUpdate() { c_.EndItemsUpdate(); }
    ItemsUpdate(const ItemsUpdate&) = delete;
    ItemsUpdate& operator=(const ItemsUpdate&) = delete;

private:
    Component& c_;
};

void ReplaceItems(Component& c, const QStringList& items) {
    c.ClearItems();
    for (const QString& item : items)
        c.AddItem(item);
}

void LoadMemo(LoadContext& l, Component& c) {
    const QString value = l.ReadString(c, ".File", c.Text());
    if (value.isEmpty()) return;
    const QString path = MemoSideFilePath(value);
    if (!QFileInfo(path).isFile()) return;
    const platform::DecodedText file = platform::ReadTextFile(path);
    // Bytes that the text cannot give back (not valid in the file's encoding) are not
    // known: the first save keeps the file as a backup before replacing it.
    if (file.lossless) NoteSideFileKnown(path);
    c.SetText(platform::NormalizeLineBreaks(file.text, u"\n"));
    c.SetLinesEncoding(file.encoding);
}

void LoadText(LoadContext& l, Component& c) {
    c.SetText(l.ReadString(c, ".Text", c.Text()));
}

void LoadTime(LoadContext& l, Component& c) {
    c.SetTime(ParseTime(l.ReadString(c, ".Time", FormatTime(c.Time()))));
}

void WriteBackTime(LoadContext& l, Component& c) {
    l.ini.WriteString(l.section, c.Name() + QStringLiteral(".Time"), FormatTime(c.Time()));
}

void LoadComboBox(LoadContext& l, Component& c) {
    const DecodedList list = DecodeList(l.fileText, c.Name());
    if (list.found) ReplaceItems(c, list.items);
    LoadText(l, c);
}

void LoadChecked(LoadContext& l, Component& c) {
    c.SetChecked(l.ini.ReadBool(l.section, c.Name() + QStringLiteral(".Checked"), c.Checked()));
}

void LoadItemIndex(LoadContext& l, Component& c) {
    c.SetItemIndex(l.ReadInteger(c, ".ItemIndex", c.ItemIndex()));
}

void LoadSpinValue(LoadContext& l, Component& c) {
    c.SetValue(l.ReadInteger(c, ".Value", static_cast<int32_t>(c.Value())));
}

// The 64-bit value: the stored 32 bits widened with their sign; its low 32 bits, read the
// same way, are the default.
void LoadWideValue(LoadContext& l, Component& c) {
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(c.Value()));
    c.SetValue(static_cast<int64_t>(l.ReadInteger(c, ".Value", low)));
}

void LoadColor(LoadContext& l, Component& c) {
    c.SetColor(l.ReadInteger(c, ".Color", c.Color()));
}

void LoadFloatValue(LoadContext& l, Component& c) {
    c.SetFloatValue(
        l.ini.ReadFloat(l.section, c.Name() + QStringLiteral(".FloatValue"), c.FloatValue()));
}

// From the side file named by ".File" when it exists (also when the value is empty),
// otherwise from the ".Items" key.
void LoadListBox(LoadContext& l, Component& c) {
    QString current;
    for (const QString& item : c.Items())
        current += item + u'\n';
    const QString path = ListSideFilePath(l.ReadString(c, ".File", current));
    if (QFileInfo(path).isFile()) {
        const platform::DecodedText file = platform::ReadTextFile(path);
        if (file.lossless) NoteSideFileKnown(path);  // as for a memo
        {
            ItemsUpdate update(c);
            ReplaceItems(c, platform::SplitLines(file.text));
        }
        c.SetLinesEncoding(file.encoding);
        return;
    }
    const DecodedList list = DecodeList(l.fileText, c.Name());
    if (!list.found) return;
    ItemsUpdate update(c);
    ReplaceItems(c, list.items);
}

void LoadCheckList(LoadContext& l, Component& c) {
    const DecodedCheckList list = DecodeCheckList(l.fileText, c.Name());
    if (!list.found) return;
    c.ClearItems();
    for (const CheckedItem& item : list.items) {
        c.AddItem(item.text);
        c.SetItemChecked(static_cast<int>(c.Items().size()) - 1, item.checked);
    }
}

struct LoadRule {
    Kind kind;
    bool onlyIfVisible;
    void (*load)(LoadContext&, Component&);
};

// In this order. A component passes every rule whose kind it is (is-a): a TsMemo loads its
// side file twice, a TsEdit is set twice from one key, a TsSpinEdit gets ".Text" and then
// ".Value", a TsListBox is restored by the list box rule alone.
const LoadRule kLoadRules[] = {
    {Kind::TMemo, true, LoadMemo},                 // 1
    {Kind::TsMemo, true, LoadMemo},                // 2
    {Kind::TsDateEdit, false, LoadText},           // 3
    {Kind::TDateTimePicker, false, LoadTime},      // 4
    {Kind::TDateTimePicker, true, WriteBackTime},  // 5
    {Kind::TEdit, false, LoadText},                // 6
    {Kind::TsEdit, false, LoadText},               // 7
    {Kind::TsCurrencyEdit, false, LoadText},       // 8  the setter reads the text as a number
    {Kind::TLabeledEdit, false, LoadText},         // 9
    {Kind::TComboBox, false, LoadComboBox},        // 10
    {Kind::TsComboBox, false, LoadComboBox},       // 11
    {Kind::TCheckBox, false, LoadChecked},         // 12
    {Kind::TsCheckBox, false, LoadChecked},        // 13
    {Kind::TRadioButton, false, LoadChecked},      // 14
    {Kind::TsRadioButton, false, LoadChecked},     // 15
    {Kind::TRadioGroup, false, LoadItemIndex},     // 16
    {Kind::TSpinEdit, false, LoadSpinValue},       // 17 the spin edit clamps
    {Kind::TsSpinEdit, false, LoadWideValue},      // 18
    {Kind::TPanel, false, LoadColor},              // 19
    {Kind::TAdvSpinEdit, false, LoadFloatValue},   // 20
    {Kind::TListBox, true, LoadListBox},           // 21
    {Kind::TCheckListBox, false, LoadCheckList},   // 22
};

}  // namespace

void LoadFormSettings(const QString& fileName) {
    LoadFormSettings(fileName, RegisteredForms());
}

void LoadFormSettings(const QString& fileName, const std::vector<Form*>& forms) {
    if (!QFileInfo(fileName).isFile()) {
        platform::MessageBeep();
        return;
    }
    QString fileText;
    for (const QString& line : platform::SplitLines(platform::ReadTextFile(fileName).text))
        fileText += line + QStringLiteral("\r\n");

    TIniFile ini(fileName);
    for (Form* form : forms) {
        LoadContext context{ini, fileText, form->Name()};
        form->ForEachComponent([&](Component& c) {
            for (const LoadRule& rule : kLoadRules) {
                if (!IsA(c.ComponentKind(), rule.kind)) continue;
                if (rule.onlyIfVisible && !c.OwnVisible()) continue;
                rule.load(context, c);
            }
        });
    }
}

}  // namespace formstate
