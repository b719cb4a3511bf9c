// The application's forms in the order they were created: the list the save and restore
// walks go through. A form is registered for the lifetime of its registration object.
#pragma once

#include <vector>

#include "formstate/FormAdapter.h"

namespace formstate {

// The registered forms, oldest first. The pointers are not owned.
std::vector<Form*> RegisteredForms();

// Registers `form` (not owned; it must outlive this object) and removes it again on
// destruction.
class ScopedFormRegistration {
public:
    explicit ScopedFormRegistration(Form& form);
    ~ScopedFormRegistration();
    ScopedFormRegistration(const ScopedFormRegistration&) = delete;
    ScopedFormRegistration& operator=(const ScopedFormRegistration&) = delete;

private:
    Form* form_;
};

}  // namespace formstate
