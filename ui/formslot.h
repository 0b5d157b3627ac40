#pragma once
// The program creates each of its windows once at start-up. A window that other code
// reaches by name (fdialog, fwait) registers itself in a TFormSlot while it lives; code that
// runs without the start-up (tests, tools) gets one made on first use and freed when the
// application object goes.
#include <QCoreApplication>

#include <memory>

template <typename TForm> class TFormSlot {
public:
    static void Register(TForm* form)
    {
        if (!current_)
            current_ = form;
    }
    static void Unregister(TForm* form)
    {
        if (current_ == form)
            current_ = nullptr;
    }
    static TForm& Get()
    {
        if (!current_) {
            madeOnDemand_ = std::make_unique<TForm>(); // registers itself
            qAddPostRoutine(&FreeMadeOnDemand);
        }
        return *current_;
    }

private:
    static void FreeMadeOnDemand() { madeOnDemand_.reset(); }

    static inline TForm* current_ = nullptr;
    static inline std::unique_ptr<TForm> madeOnDemand_;
};

// A window's place in its TFormSlot: the window's last member, so the window is reachable from
// its constructor's body on and leaves the slot before its other members go. The window's
// accessor (fdialog(), fmain() ...) returns TFormSlot<Tfx>::Get().
template <typename TForm> class TFormSlotEntry {
public:
    explicit TFormSlotEntry(TForm* form)
        : form_(form)
    {
        TFormSlot<TForm>::Register(form);
    }
    ~TFormSlotEntry() { TFormSlot<TForm>::Unregister(form_); }
    TFormSlotEntry(const TFormSlotEntry&) = delete;
    TFormSlotEntry& operator=(const TFormSlotEntry&) = delete;

private:
    TForm* form_;
};
