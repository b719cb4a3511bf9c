// Stand-ins for the control kinds the program's window lacks: plain components of any kind
// behind the store's component interface, with every property as a field, and a form that
// owns them. Setters are logged so tests can check what the restore did, and in what order.
#pragma once

#include <QString>
#include <QStringList>
#include <QTime>
#include <memory>
#include <optional>
#include <vector>

#include "formstate/FormAdapter.h"
#include "formstate/Values.h"

namespace fake {

class Component final : public formstate::Component {
public:
    Component(QString name, formstate::Kind kind, QStringList* log)
        : name_(std::move(name)), kind_(kind), log_(log) {}

    QString Name() const override { return name_; }
    formstate::Kind ComponentKind() const override { return kind_; }
    bool OwnVisible() const override { return visible; }

    QString Text() const override { return text; }
    void SetText(const QString& t) override {
        Log(QStringLiteral("Text=") + t);
        if (currencyText && !formstate::ParseFloat(t))
            throw formstate::ConvertError(
                QStringLiteral("'%1' is not a valid floating point value").arg(t));
        text = t;
    }
    QStringList Items() const override { return items; }
    void ClearItems() override {
        Log(QStringLiteral("Clear"));
        items.clear();
        checks.clear();
    }
    void AddItem(const QString& item) override {
        Log(QStringLiteral("Add=") + item + (updating ? QStringLiteral(" (updating)") : QString()));
        items << item;
        checks.push_back(false);
    }
    bool ItemChecked(int index) const override { return checks.at(index); }
    void SetItemChecked(int index, bool c) override { checks.at(index) = c; }
    void BeginItemsUpdate() override { updating = true; }
    void EndItemsUpdate() override { updating = false; }
    platform::TextEncoding LinesEncoding() const override { return encoding; }
    void SetLinesEncoding(platform::TextEncoding e) override { encoding = e; }
    QTime Time() const override { return time; }
    void SetTime(const QTime& t) override {
        Log(QStringLiteral("Time=") + t.toString(QStringLiteral("HH:mm:ss")));
        time = t;
    }
    bool Checked() const override { return checked; }
    void SetChecked(bool c) override {
        Log(QStringLiteral("Checked=%1").arg(c));
        checked = c;
    }
    int ItemIndex() const override { return itemIndex; }
    void SetItemIndex(int i) override {
        Log(QStringLiteral("ItemIndex=%1").arg(i));
        itemIndex = i;
    }
    int64_t Value() const override { return value; }
    void SetValue(int64_t v) override {
        if (limits) v = std::max(limits->first, std::min(v, limits->second));
        Log(QStringLiteral("Value=%1").arg(v));
        value = v;
    }
    int32_t Color() const override { return color; }
    void SetColor(int32_t c) override {
        Log(QStringLiteral("Color=%1").arg(c));
        color = c;
    }
    double FloatValue() const override { return floatValue; }
    void SetFloatValue(double v) override {
        Log(QStringLiteral("FloatValue=%1").arg(v));
        floatValue = v;
    }

    bool visible = true;
    QString text;
    QStringList items;
    std::vector<bool> checks;
    bool updating = false;
    platform::TextEncoding encoding = platform::TextEncoding::Ansi;
    QTime time{12, 0, 0};
    bool checked = false;
    int itemIndex = -1;
    int64_t value = 0;
    int32_t color = 0;
    double floatValue = 0;
    // A spin edit clamps what it is given; a currency edit refuses text that is no number.
    std::optional<std::pair<int64_t, int64_t>> limits;
    bool currencyText = false;

private:
    void Log(const QString& what) {
        if (log_) *log_ << name_ + u'.' + what;
    }

    QString name_;
    formstate::Kind kind_;
    QStringList* log_;
};

class Form final : public formstate::Form {
public:
    explicit Form(QString name) : name_(std::move(name)) {}

    // Adds a component (owned by the form) and returns it for setting up.
    Component& Add(const QString& name, formstate::Kind kind) {
        components_.push_back(std::make_unique<Component>(name, kind, &log));
        return *components_.back();
    }
    Component& Get(const QString& name) {
        for (auto& c : components_)
            if (c->Name() == name) return *c;
        throw std::out_of_range(name.toStdString());
    }

    QString Name() const override { return name_; }
    void ForEachComponent(const std::function<void(formstate::Component&)>& visit) override {
        for (auto& c : components_)
            visit(*c);
    }

    // Every setter call of the restore, in order: "<Name>.<Property>=<value>".
    QStringList log;

private:
    QString name_;
    std::vector<std::unique_ptr<Component>> components_;
};

}  // namespace fake
