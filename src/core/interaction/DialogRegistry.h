// How each kind of dialog is shown: one handler per model type, registered
// by the subsystem that owns the dialog. The window program keeps one with
// the Qt dialogs, a scripted test one with its user's answers.
#pragma once

#include "interaction/DialogModel.h"
#include "interaction/Prompter.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>

namespace kv {

// A dialog was to be shown that has no registered handler: a fault of the
// program (a view that was never registered), never an answer of the user.
// Where commands run, the user is told it as the command's failure, so its
// text is Swedish.
class UnregisteredDialog : public std::logic_error {
public:
    explicit UnregisteredDialog(const DialogModel& model)
        : std::logic_error("dialogen \"" + model.dialogTitle() +
                           "\" kan inte visas: programmet saknar dess vy") {}
};

// Context: what a handler is given besides the model (the window program
// gives the prompter and the parent widget).
template <typename... Context> class DialogRegistry {
public:
    template <typename Model> using Handler = std::function<Answer(Model&, Context...)>;

    // Registers how dialogs of Model are shown; a model type has one handler.
    template <typename Model> void add(Handler<Model> handler) {
        static_assert(std::is_base_of_v<DialogModelOf<Model>, Model>,
                      "a dialog's model derives from DialogModelOf<Model>");
        if (!handler) {
            throw std::logic_error(std::string("dialog ") + typeid(Model).name() +
                                   " registered without a view");
        }
        auto run = [handler = std::move(handler)](DialogModel& model, Context... context) {
            return handler(static_cast<Model&>(model), std::forward<Context>(context)...);
        };
        if (!m_handlers.emplace(DialogModelOf<Model>::type(), std::move(run)).second) {
            throw std::logic_error(std::string("dialog ") + typeid(Model).name() + " registered twice");
        }
    }
    template <typename Model> void remove() { m_handlers.erase(DialogModelOf<Model>::type()); }

    [[nodiscard]] bool has(const DialogModel& model) const { return m_handlers.contains(model.dialogType()); }
    template <typename Model> [[nodiscard]] bool has() const {
        return m_handlers.contains(DialogModelOf<Model>::type());
    }

    // Shows the dialog with its handler and returns the handler's answer.
    // Throws UnregisteredDialog when the model's type has no handler.
    Answer show(DialogModel& model, Context... context) const {
        const auto found = m_handlers.find(model.dialogType());
        if (found == m_handlers.end()) {
            throw UnregisteredDialog(model);
        }
        // The handler may change the registry while its dialog runs; keep it alive.
        const auto run = found->second;
        return run(model, std::forward<Context>(context)...);
    }

private:
    std::unordered_map<DialogType, std::function<Answer(DialogModel&, Context...)>> m_handlers;
};

} // namespace kv
