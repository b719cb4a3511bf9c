#include "formstate/QtAdapters.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>
#include <algorithm>

#include "formstate/FormRegistry.h"
#include "platform/widgets/Memo.h"
#include "platform/widgets/SpinEdit.h"

namespace formstate {

namespace {

// The dynamic property that remembers the encoding of a control's last loaded file.
constexpr char kEncodingProperty[] = "formstateLinesEncoding";

class QtComponent : public Component {
public:
    QtComponent(QString name, QObject* object, Kind kind)
        : name_(std::move(name)), object_(object), kind_(kind) {}

    QString Name() const override { return name_; }
    Kind ComponentKind() const override { return kind_; }
    bool OwnVisible() const override {
        const auto* widget = qobject_cast<const QWidget*>(object_);
        return !widget || !widget->isHidden();
    }

    platform::TextEncoding LinesEncoding() const override {
        const QVariant v = object_->property(kEncodingProperty);
        return v.isValid() ? static_cast<platform::TextEncoding>(v.toInt())
                           : platform::TextEncoding::Ansi;
    }
    void SetLinesEncoding(platform::TextEncoding encoding) override {
        object_->setProperty(kEncodingProperty, static_cast<int>(encoding));
    }

private:
    QString name_;
    QObject* object_;
    Kind kind_;
};

// The program's number box answers with the very characters it holds.
class MemoAdapter final : public QtComponent {
public:
    MemoAdapter(const QString& name, platform::TMemo* memo)
        : QtComponent(name, memo, Kind::TMemo), memo_(memo) {}
    QString Text() const override { return memo_->Text(); }
    void SetText(const QString& text) override { memo_->SetText(text); }

private:
    platform::TMemo* memo_;
};

// A plain Qt text edit answers with its text as Qt exports it.
class PlainTextAdapter final : public QtComponent {
public:
    PlainTextAdapter(const QString& name, QPlainTextEdit* edit)
        : QtComponent(name, edit, Kind::TMemo), edit_(edit) {}
    QString Text() const override { return edit_->toPlainText(); }
    void SetText(const QString& text) override { edit_->setPlainText(text); }

private:
    QPlainTextEdit* edit_;
};

class ListWidgetAdapter final : public QtComponent {
public:
    ListWidgetAdapter(const QString& name, QListWidget* list)
        : QtComponent(name, list, Kind::TListBox), list_(list) {}
    QStringList Items() const override {
        QStringList items;
        for (int i = 0; i < list_->count(); ++i)
            items << list_->item(i)->text();
        return items;
    }
    void ClearItems() override { list_->clear(); }
    void AddItem(const QString& item) override { list_->addItem(item); }
    void BeginItemsUpdate() override { list_->setUpdatesEnabled(false); }
    void EndItemsUpdate() override { list_->setUpdatesEnabled(true); }

private:
    QListWidget* list_;
};

class ComboBoxAdapter final : public QtComponent {
public:
    ComboBoxAdapter(const QString& name, QComboBox* combo)
        : QtComponent(name, combo, Kind::TComboBox), combo_(combo) {}
    QString Text() const override { return combo_->currentText(); }
    // An editable box takes any text; a drop-down list selects the item of that text.
    void SetText(const QString& text) override { combo_->setCurrentText(text); }
    QStringList Items() const override {
        QStringList items;
        for (int i = 0; i < combo_->count(); ++i)
            items << combo_->itemText(i);
        return items;
    }
    void ClearItems() override { combo_->clear(); }
    void AddItem(const QString& item) override { combo_->addItem(item); }

private:
    QComboBox* combo_;
};

class LineEditAdapter final : public QtComponent {
public:
    LineEditAdapter(const QString& name, QLineEdit* edit)
        : QtComponent(name, edit, Kind::TEdit), edit_(edit) {}
    QString Text() const override { return edit_->text(); }
    void SetText(const QString& text) override { edit_->setText(text); }

private:
    QLineEdit* edit_;
};

class DateTimeAdapter final : public QtComponent {
public:
    DateTimeAdapter(const QString& name, QDateTimeEdit* edit)
        : QtComponent(name, edit, Kind::TDateTimePicker), edit_(edit) {}
    QTime Time() const override { return edit_->time(); }
    void SetTime(const QTime& time) override { edit_->setTime(time); }

private:
    QDateTimeEdit* edit_;
};

class CheckAdapter final : public QtComponent {
public:
    CheckAdapter(const QString& name, QAbstractButton* button, Kind kind)
        : QtComponent(name, button, kind), button_(button) {}
    bool Checked() const override { return button_->isChecked(); }
    void SetChecked(bool checked) override { button_->setChecked(checked); }

private:
    QAbstractButton* button_;
};

class SpinEditAdapter final : public QtComponent {
public:
    SpinEditAdapter(const QString& name, platform::TSpinEdit* spin)
        : QtComponent(name, spin, Kind::TSpinEdit), spin_(spin) {}
    int64_t Value() const override { return spin_->Value(); }
    void SetValue(int64_t value) override {
        spin_->SetValue(static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)));
    }

private:
    platform::TSpinEdit* spin_;
};

class SpinBoxAdapter final : public QtComponent {
public:
    SpinBoxAdapter(const QString& name, QSpinBox* spin)
        : QtComponent(name, spin, Kind::TSpinEdit), spin_(spin) {}
    int64_t Value() const override { return spin_->value(); }
    void SetValue(int64_t value) override {
        spin_->setValue(static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)));
    }

private:
    QSpinBox* spin_;
};

class DoubleSpinAdapter final : public QtComponent {
public:
    DoubleSpinAdapter(const QString& name, QDoubleSpinBox* spin)
        : QtComponent(name, spin, Kind::TAdvSpinEdit), spin_(spin) {}
    double FloatValue() const override { return spin_->value(); }
    void SetFloatValue(double value) override { spin_->setValue(value); }

private:
    QDoubleSpinBox* spin_;
};

// Keeps a window registered as a form while the window lives (owned by the window).
class QtFormRegistration final : public QObject {
public:
    QtFormRegistration(QWidget* window, std::function<std::vector<NamedObject>()> components)
        : QObject(window), form_(window, std::move(components)), registration_(form_) {}

private:
    QtForm form_;
    ScopedFormRegistration registration_;
};

}  // namespace

std::unique_ptr<Component> MakeQtComponent(const QString& name, QObject* object) {
    if (auto* w = qobject_cast<platform::TMemo*>(object))
        return std::make_unique<MemoAdapter>(name, w);
    if (auto* w = qobject_cast<QPlainTextEdit*>(object))
        return std::make_unique<PlainTextAdapter>(name, w);
    if (auto* w = qobject_cast<QListWidget*>(object))
        return std::make_unique<ListWidgetAdapter>(name, w);
    if (auto* w = qobject_cast<QComboBox*>(object))
        return std::make_unique<ComboBoxAdapter>(name, w);
    if (auto* w = qobject_cast<QLineEdit*>(object))
        return std::make_unique<LineEditAdapter>(name, w);
    if (auto* w = qobject_cast<QDateTimeEdit*>(object))
        return std::make_unique<DateTimeAdapter>(name, w);
    if (auto* w = qobject_cast<QCheckBox*>(object))
        return std::make_unique<CheckAdapter>(name, w, Kind::TCheckBox);
    if (auto* w = qobject_cast<QRadioButton*>(object))
        return std::make_unique<CheckAdapter>(name, w, Kind::TRadioButton);
    if (auto* w = qobject_cast<platform::TSpinEdit*>(object))
        return std::make_unique<SpinEditAdapter>(name, w);
    if (auto* w = qobject_cast<QSpinBox*>(object)) return std::make_unique<SpinBoxAdapter>(name, w);
    if (auto* w = qobject_cast<QDoubleSpinBox*>(object))
        return std::make_unique<DoubleSpinAdapter>(name, w);
    return std::make_unique<QtComponent>(name, object, Kind::None);
}

Kind QtKindOf(const QObject* object) {
    return MakeQtComponent(QString(), const_cast<QObject*>(object))->ComponentKind();
}

QtForm::QtForm(QWidget* window, std::function<std::vector<NamedObject>()> components)
    : window_(window), components_(std::move(components)) {}

QString QtForm::Name() const {
    return window_->objectName();
}

void QtForm::ForEachComponent(const std::function<void(Component&)>& visit) {
    for (const NamedObject& c : components_()) {
        if (!c.object) continue;
        const std::unique_ptr<Component> component = MakeQtComponent(c.name, c.object);
        visit(*component);
    }
}

void RegisterQtForm(QWidget* window, std::function<std::vector<NamedObject>()> components) {
    new QtFormRegistration(window, std::move(components));  // owned by `window`
}

}  // namespace formstate
