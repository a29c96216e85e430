// Test helper of the option objects: counts the notifications of one object.
#pragma once

#include <vector>

#include "editor/options/NotifyPersistent.h"

// Counts the notifications of one object and remembers who was reported as changed.
struct TChangeCounter {
    int count = 0;
    std::vector<TNotifyPersistent*> senders;
    explicit TChangeCounter(TNotifyPersistent& target) {
        target.SetOnChange([this](TNotifyPersistent* sender) {
            ++count;
            senders.push_back(sender);
        });
    }
};
