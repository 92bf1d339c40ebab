#pragma once

#include "ui/Messenger.h"

/// The messages of the command-line modes: written to the standard error, in French. A question gets No, so that a
/// command never takes a decision (taking over a lock, say) that belongs to the keeper at the window.
class ConsoleMessenger final : public Messenger {
public:
    void show(Icon icon, const QString& text, const QString& detail = {}) override;
    bool ask(const QString& text, const QString& detail = {}, Answer byDefault = Answer::No) override;
};
