// The settings store's view of a window: a form is a Name and its components in creation
// order; a component is a Name, a kind, its own Visible flag and the properties that the
// rules of its kind read and set. Qt widgets are mapped onto it in QtAdapters.h; tests put
// small stand-ins behind it for the kinds the program's window lacks.
#pragma once

#include <QString>
#include <QStringList>
#include <QTime>
#include <cstdint>
#include <functional>

#include "formstate/Kinds.h"
#include "platform/core/TextFile.h"

namespace formstate {

// A component of a form. Each kind uses only the accessors its rules need; the others
// keep their defaults, which throw std::logic_error (a kind claimed but not implemented).
class Component {
public:
    virtual ~Component() = default;

    virtual QString Name() const = 0;
    virtual Kind ComponentKind() const = 0;
    // The component's own Visible flag: set for a control inside a hidden group box unless
    // the control itself was hidden.
    virtual bool OwnVisible() const = 0;

    // Text of edits, date and currency edits and combo boxes; a memo's whole text, line
    // breaks as "\n". A currency edit's setter may throw ConvertError.
    virtual QString Text() const;
    virtual void SetText(const QString& text);

    // Items of list boxes, combo boxes and check lists.
    virtual QStringList Items() const;
    virtual void ClearItems();
    virtual void AddItem(const QString& item);
    virtual bool ItemChecked(int index) const;
    virtual void SetItemChecked(int index, bool checked);
    // Update mode of list boxes: no repaint per item in between. No-ops by default.
    virtual void BeginItemsUpdate() {}
    virtual void EndItemsUpdate() {}

    // The encoding in which the line list of a memo or list box last loaded a file
    // (Ansi when it never loaded one); its side file is written back in it.
    virtual platform::TextEncoding LinesEncoding() const;
    virtual void SetLinesEncoding(platform::TextEncoding encoding);

    virtual QTime Time() const;
    // Sets the time of day; a date the control holds stays.
    virtual void SetTime(const QTime& time);

    virtual bool Checked() const;
    virtual void SetChecked(bool checked);

    // Radio groups: the selected button, -1 for none.
    virtual int ItemIndex() const;
    virtual void SetItemIndex(int index);

    // Spin edits. TSpinEdit: its text read as an integer, or its minimum when the text is
    // not one; the setter clamps to its limits. TsSpinEdit: a 64-bit value.
    virtual int64_t Value() const;
    virtual void SetValue(int64_t value);

    // Panels: the colour 0x00BBGGRR, system colours negative.
    virtual int32_t Color() const;
    virtual void SetColor(int32_t color);

    // Floating-point spin edits.
    virtual double FloatValue() const;
    virtual void SetFloatValue(double value);
};

// A form: its Name names its section in the settings file.
class Form {
public:
    virtual ~Form() = default;
    virtual QString Name() const = 0;
    // Calls `visit` for every component the form owns, at any depth, in creation order.
    // The component lives for the call only.
    virtual void ForEachComponent(const std::function<void(Component&)>& visit) = 0;
};

}  // namespace formstate
