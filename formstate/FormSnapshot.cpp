#include "formstate/FormSnapshot.h"

#include "formstate/FormRegistry.h"

namespace formstate {

namespace {

bool IsAny(Kind kind, std::initializer_list<Kind> tested) {
    for (Kind t : tested)
        if (IsA(kind, t)) return true;
    return false;
}

// One component as the save rules of its kind read it.
class ComponentCopy final : public Component {
public:
    explicit ComponentCopy(const Component& c)
        : name_(c.Name()), kind_(c.ComponentKind()), visible_(c.OwnVisible()) {
        // A hidden component writes nothing: only its flag is read.
        if (!visible_) return;
        const Kind k = kind_;
        if (IsAny(k, {Kind::TMemo, Kind::TsDateEdit, Kind::TEdit, Kind::TsEdit,
                      Kind::TsCurrencyEdit, Kind::TLabeledEdit, Kind::TComboBox, Kind::TsComboBox}))
            text_ = c.Text();
        if (IsAny(k, {Kind::TComboBox, Kind::TsComboBox, Kind::TListBox, Kind::TsListBox,
                      Kind::TCheckListBox}))
            items_ = c.Items();
        if (IsA(k, Kind::TCheckListBox))
            for (int i = 0; i < items_.size(); ++i)
                checks_.push_back(c.ItemChecked(i));
        if (IsAny(k, {Kind::TMemo, Kind::TListBox})) encoding_ = c.LinesEncoding();
        if (IsA(k, Kind::TDateTimePicker)) time_ = c.Time();
        if (IsAny(k, {Kind::TCheckBox, Kind::TRadioButton, Kind::TsCheckBox, Kind::TsRadioButton}))
            checked_ = c.Checked();
        if (IsA(k, Kind::TRadioGroup)) itemIndex_ = c.ItemIndex();
        if (IsAny(k, {Kind::TSpinEdit, Kind::TsSpinEdit})) value_ = c.Value();
        if (IsA(k, Kind::TPanel)) color_ = c.Color();
        if (IsA(k, Kind::TAdvSpinEdit)) floatValue_ = c.FloatValue();
    }

    QString Name() const override { return name_; }
    Kind ComponentKind() const override { return kind_; }
    bool OwnVisible() const override { return visible_; }
    QString Text() const override { return text_; }
    QStringList Items() const override { return items_; }
    bool ItemChecked(int index) const override {
        return index >= 0 && static_cast<size_t>(index) < checks_.size() &&
               checks_[static_cast<size_t>(index)];
    }
    platform::TextEncoding LinesEncoding() const override { return encoding_; }
    QTime Time() const override { return time_; }
    bool Checked() const override { return checked_; }
    int ItemIndex() const override { return itemIndex_; }
    int64_t Value() const override { return value_; }
    int32_t Color() const override { return color_; }
    double FloatValue() const override { return floatValue_; }

private:
    QString name_;
    Kind kind_;
    bool visible_;
    QString text_;
    QStringList items_;
    std::vector<bool> checks_;
    platform::TextEncoding encoding_ = platform::TextEncoding::Ansi;
    QTime time_;
    bool checked_ = false;
    int itemIndex_ = -1;
    int64_t value_ = 0;
    int32_t color_ = 0;
    double floatValue_ = 0;
};

class FormCopy final : public Form {
public:
    explicit FormCopy(Form& form) : name_(form.Name()) {
        form.ForEachComponent(
            [this](Component& c) { components_.push_back(std::make_unique<ComponentCopy>(c)); });
    }
    QString Name() const override { return name_; }
    void ForEachComponent(const std::function<void(Component&)>& visit) override {
        for (const auto& c : components_)
            visit(*c);
    }

private:
    QString name_;
    std::vector<std::unique_ptr<ComponentCopy>> components_;
};

}  // namespace

FormsSnapshot::~FormsSnapshot() = default;

FormsSnapshot FormsSnapshot::Take(const std::vector<Form*>& forms) {
    FormsSnapshot snapshot;
    for (Form* form : forms)
        snapshot.forms_.push_back(std::make_unique<FormCopy>(*form));
    return snapshot;
}

FormsSnapshot FormsSnapshot::TakeRegistered() {
    return Take(RegisteredForms());
}

std::vector<Form*> FormsSnapshot::Forms() const {
    std::vector<Form*> out;
    for (const auto& f : forms_)
        out.push_back(f.get());
    return out;
}

}  // namespace formstate
