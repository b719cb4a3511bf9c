#include "formstate/FormAdapter.h"

#include <stdexcept>

namespace formstate {

namespace {

[[noreturn]] void Unsupported(const Component& c, const char* what) {
    throw std::logic_error(QStringLiteral("%1 (%2) has no %3")
                               .arg(c.Name(), KindName(c.ComponentKind()), QLatin1String(what))
                               .toStdString());
}

}  // namespace

QString Component::Text() const {
    Unsupported(*this, "Text");
}
void Component::SetText(const QString&) {
    Unsupported(*this, "Text");
}
QStringList Component::Items() const {
    Unsupported(*this, "Items");
}
void Component::ClearItems() {
    Unsupported(*this, "Items");
}
void Component::AddItem(const QString&) {
    Unsupported(*this, "Items");
}
bool Component::ItemChecked(int) const {
    Unsupported(*this, "item check states");
}
void Component::SetItemChecked(int, bool) {
    Unsupported(*this, "item check states");
}
platform::TextEncoding Component::LinesEncoding() const {
    Unsupported(*this, "line list");
}
void Component::SetLinesEncoding(platform::TextEncoding) {
    Unsupported(*this, "line list");
}
QTime Component::Time() const {
    Unsupported(*this, "Time");
}
void Component::SetTime(const QTime&) {
    Unsupported(*this, "Time");
}
bool Component::Checked() const {
    Unsupported(*this, "Checked");
}
void Component::SetChecked(bool) {
    Unsupported(*this, "Checked");
}
int Component::ItemIndex() const {
    Unsupported(*this, "ItemIndex");
}
void Component::SetItemIndex(int) {
    Unsupported(*this, "ItemIndex");
}
int64_t Component::Value() const {
    Unsupported(*this, "Value");
}
void Component::SetValue(int64_t) {
    Unsupported(*this, "Value");
}
int32_t Component::Color() const {
    Unsupported(*this, "Color");
}
void Component::SetColor(int32_t) {
    Unsupported(*this, "Color");
}
double Component::FloatValue() const {
    Unsupported(*this, "FloatValue");
}
void Component::SetFloatValue(double) {
    Unsupported(*this, "FloatValue");
}

}  // namespace formstate
