// The control kinds the settings store recognises, and which kinds each one also counts as.
// Kind tests are is-a tests: a control of a derived kind passes the test of every kind it
// derives from, and of no other.
#pragma once

#include <QString>

namespace formstate {

enum class Kind {
    None,  // stores nothing: buttons, labels, group boxes, rich edits, the chart, timers
    TMemo,
    TsMemo,
    TListBox,
    TsListBox,
    TCheckListBox,
    TComboBox,
    TsComboBox,
    TEdit,
    TsEdit,
    TLabeledEdit,
    TsDateEdit,
    TsCurrencyEdit,
    TDateTimePicker,
    TCheckBox,
    TsCheckBox,
    TRadioButton,
    TsRadioButton,
    TRadioGroup,
    TSpinEdit,
    TsSpinEdit,
    TPanel,
    TAdvSpinEdit,
};

// True when a component of kind `actual` passes the kind test for `tested`.
bool IsA(Kind actual, Kind tested);

// The kind's name ("TsSpinEdit"), or "None".
QString KindName(Kind kind);

}  // namespace formstate
