// A modeless form over a core model (the voucher dialog): it lives beside the
// company's windows until it closes itself or the user closes it. The model
// holds all of the form's state and tells its listener which aspects
// changed, so that the form on the screen only shows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kv {

// What changed in a form, as a set of bits.
enum class FormAspect : std::uint32_t {
    Fields = 1U << 0,      // the edit fields and their texts
    Sums = 1U << 1,        // the computed display fields
    Title = 1U << 2,       // the form's title
    Buttons = 1U << 3,     // which buttons are enabled
    Grid = 1U << 4,        // the form's grid: its cells, sizes or current cell
    Attachments = 1U << 5, // the receipts chosen or kept with the voucher
    All = (1U << 6) - 1,
};

class FormAspects {
public:
    constexpr FormAspects() = default;
    constexpr FormAspects(FormAspect aspect)
        : m_bits(static_cast<std::uint32_t>(aspect)) {} // NOLINT: a set of one
    [[nodiscard]] constexpr bool has(FormAspect aspect) const {
        return (m_bits & static_cast<std::uint32_t>(aspect)) != 0;
    }
    constexpr FormAspects& operator|=(FormAspects other) {
        m_bits |= other.m_bits;
        return *this;
    }
    friend constexpr FormAspects operator|(FormAspects a, FormAspects b) { return a |= b; }
    [[nodiscard]] constexpr bool empty() const { return m_bits == 0; }

private:
    std::uint32_t m_bits = 0;
};

constexpr FormAspects operator|(FormAspect a, FormAspect b) {
    return FormAspects(a) | FormAspects(b);
}

class FormListener {
public:
    virtual ~FormListener() = default;
    virtual void formChanged(FormAspects aspects) = 0;
};

// The kinds of modeless forms, so that the window program knows which form shows a model.
enum class FormKind { Voucher };

class FormModel {
public:
    FormModel() = default;
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;
    virtual ~FormModel() = default;

    [[nodiscard]] virtual FormKind kind() const = 0;
    [[nodiscard]] virtual std::string title() const = 0;
    // The user closes the form (close box, Escape). The model may refuse or
    // ask first; true when the form may go. Closing is cancelling.
    virtual bool mayClose() { return true; }
    // Whether what the form holds may be thrown away (the company closes):
    // the model may ask; it changes nothing. True when it may.
    virtual bool mayDiscard() { return true; }

    void setListener(FormListener* listener) { m_listener = listener; }
    // Whoever opened the form: told when the model has finished and the form should go.
    void setCloser(std::function<void()> closer) { m_closer = std::move(closer); }

protected:
    void changed(FormAspects aspects) const {
        if (m_listener != nullptr && !aspects.empty()) {
            m_listener->formChanged(aspects);
        }
    }
    // The model is done (its OK or Cancel went through): the form closes and
    // the model is dropped right after this call returns to its caller's caller.
    void finish() const {
        if (m_closer) {
            m_closer();
        }
    }

private:
    FormListener* m_listener = nullptr;
    std::function<void()> m_closer;
};

} // namespace kv
