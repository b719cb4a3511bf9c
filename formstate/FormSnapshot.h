// A copy of what the save walk reads from the forms, taken on the window's thread so that the
// save itself can run on another thread: the forms' names, and of each component its Name,
// kind, own Visible flag and the properties its kind's save rules read. Texts and lists are
// Qt's implicitly shared values, so taking them copies no characters.
#pragma once

#include <memory>
#include <vector>

#include "formstate/FormAdapter.h"

namespace formstate {

// Forms that answer the save walk exactly as the forms they were taken from did at the
// moment of the copy. They read nothing else, so they may be walked on any thread.
class FormsSnapshot {
public:
    FormsSnapshot() = default;
    FormsSnapshot(FormsSnapshot&&) noexcept = default;
    FormsSnapshot& operator=(FormsSnapshot&&) noexcept = default;
    ~FormsSnapshot();

    // Copies `forms` (the registered ones when omitted). May throw what a component's
    // accessor throws.
    static FormsSnapshot Take(const std::vector<Form*>& forms);
    static FormsSnapshot TakeRegistered();

    // The copied forms, for SaveFormSettings.
    std::vector<Form*> Forms() const;

private:
    std::vector<std::unique_ptr<Form>> forms_;
};

}  // namespace formstate
