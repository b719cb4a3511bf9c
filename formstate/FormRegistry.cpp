#include "formstate/FormRegistry.h"

#include <algorithm>

namespace formstate {

namespace {

std::vector<Form*>& Registry() {
    static std::vector<Form*> forms;
    return forms;
}

}  // namespace

std::vector<Form*> RegisteredForms() {
    return Registry();
}

ScopedFormRegistration::ScopedFormRegistration(Form& form) : form_(&form) {
    Registry().push_back(form_);
}

ScopedFormRegistration::~ScopedFormRegistration() {
    auto& forms = Registry();
    forms.erase(std::remove(forms.begin(), forms.end(), form_), forms.end());
}

}  // namespace formstate
