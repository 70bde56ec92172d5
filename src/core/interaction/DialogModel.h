// The presentation model of a modal dialog, as a prompter shows it: the flow
// makes and opens the model, Prompter::show runs the dialog on it until it
// closes, and the flow reads the outcome from the model.
#pragma once

#include <string>
#include <typeindex>
#include <typeinfo>

namespace kv {

// Which kind of dialog a model is: the key under which a prompter finds the
// dialog's view (or a test its scripted user).
using DialogType = std::type_index;

class DialogModel {
public:
    virtual ~DialogModel() = default;

    [[nodiscard]] virtual DialogType dialogType() const = 0;
    // The dialog's title as the user sees it, which names the dialog in a
    // test's record and in the report of a dialog that nobody can show.
    [[nodiscard]] virtual std::string dialogTitle() const = 0;

protected:
    DialogModel() = default;
    DialogModel(const DialogModel&) = default;
    DialogModel(DialogModel&&) = default;
    DialogModel& operator=(const DialogModel&) = default;
    DialogModel& operator=(DialogModel&&) = default;
};

// The base of each dialog's model: the model's own type is its key, so that
// a view is registered for the type and a derived class finds the same view.
template <typename Model> class DialogModelOf : public DialogModel {
public:
    [[nodiscard]] static DialogType type() { return typeid(Model); }
    [[nodiscard]] DialogType dialogType() const final { return type(); }
};

} // namespace kv
