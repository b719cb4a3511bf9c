#include "formstate/Kinds.h"

namespace formstate {

namespace {

// One row per kind: its name and the kinds it derives from (at most two here). The
// skinnable kinds derive from their standard twins only where listed: TsCheckBox is no
// TCheckBox, TsComboBox no TComboBox, and TsSpinEdit counts as an edit, not a TSpinEdit.
struct KindInfo {
    Kind kind;
    const char* name;
    Kind derivesFrom[2];
};

constexpr KindInfo kKinds[] = {
    {Kind::None, "None", {}},
    {Kind::TMemo, "TMemo", {}},
    {Kind::TsMemo, "TsMemo", {Kind::TMemo}},
    {Kind::TListBox, "TListBox", {}},
    {Kind::TsListBox, "TsListBox", {Kind::TListBox}},
    {Kind::TCheckListBox, "TCheckListBox", {}},
    {Kind::TComboBox, "TComboBox", {}},
    {Kind::TsComboBox, "TsComboBox", {}},
    {Kind::TEdit, "TEdit", {}},
    {Kind::TsEdit, "TsEdit", {Kind::TEdit}},
    {Kind::TLabeledEdit, "TLabeledEdit", {}},
    {Kind::TsDateEdit, "TsDateEdit", {}},
    {Kind::TsCurrencyEdit, "TsCurrencyEdit", {}},
    {Kind::TDateTimePicker, "TDateTimePicker", {}},
    {Kind::TCheckBox, "TCheckBox", {}},
    {Kind::TsCheckBox, "TsCheckBox", {}},
    {Kind::TRadioButton, "TRadioButton", {}},
    {Kind::TsRadioButton, "TsRadioButton", {Kind::TRadioButton}},
    {Kind::TRadioGroup, "TRadioGroup", {}},
    {Kind::TSpinEdit, "TSpinEdit", {}},
    {Kind::TsSpinEdit, "TsSpinEdit", {Kind::TsEdit, Kind::TEdit}},
    {Kind::TPanel, "TPanel", {}},
    {Kind::TAdvSpinEdit, "TAdvSpinEdit", {}},
};

const KindInfo& InfoOf(Kind kind) {
    for (const KindInfo& info : kKinds)
        if (info.kind == kind) return info;
    return kKinds[0];
}

}  // namespace

bool IsA(Kind actual, Kind tested) {
    if (actual == Kind::None || tested == Kind::None) return false;
    if (actual == tested) return true;
    for (Kind parent : InfoOf(actual).derivesFrom)
        if (parent == tested) return true;
    return false;
}

QString KindName(Kind kind) {
    return QString::fromLatin1(InfoOf(kind).name);
}

}  // namespace formstate
