// Base of the editor's option objects: an update counter and one change notification.
//
// Setters of derived classes store a new value and call Changed() only when it differs. Sub-objects are
// wired to their owner's ChildChanged(), so a change anywhere reaches the top object's OnChange once.
// BeginUpdate/EndUpdate pairs bundle several changes into one notification; use TNotifyPersistent::Update
// (an RAII guard) so that an exception can never leave the counter raised.
#pragma once

#include <functional>
#include <utility>

class TNotifyPersistent {
public:
    using TNotifyEvent = std::function<void(TNotifyPersistent* sender)>;

    TNotifyPersistent() = default;
    TNotifyPersistent(const TNotifyPersistent&) = delete;
    TNotifyPersistent& operator=(const TNotifyPersistent&) = delete;
    virtual ~TNotifyPersistent() = default;

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() {
        --FUpdateCount;
        Changed();
    }

    // Fires OnChange with this object when no update is open and a handler is set.
    virtual void Changed() {
        if (FUpdateCount == 0 && FOnChange) FOnChange(this);
    }
    // Called by owned sub-objects; a change of a child is a change of this object.
    virtual void ChildChanged(TNotifyPersistent* sender) {
        if (sender != this) Changed();
    }

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }

    int UpdateCount() const { return FUpdateCount; }

    // Binds a sub-object's notification to this object's ChildChanged.
    void Own(TNotifyPersistent& child) {
        child.SetOnChange([this](TNotifyPersistent* sender) { ChildChanged(sender); });
    }

    class Update {
    public:
        explicit Update(TNotifyPersistent& target) : FTarget(target) { FTarget.BeginUpdate(); }
        ~Update() { FTarget.EndUpdate(); }
        Update(const Update&) = delete;
        Update& operator=(const Update&) = delete;

    private:
        TNotifyPersistent& FTarget;
    };

protected:
    // Stores value in field and notifies when it differs: the body of every notifying setter.
    template <class T, class V>
    void SetAndNotify(T& field, V&& value) {
        if (field == value) return;
        field = std::forward<V>(value);
        Changed();
    }

private:
    int FUpdateCount = 0;
    TNotifyEvent FOnChange;
};
