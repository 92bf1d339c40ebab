#pragma once

#include "ui/Messenger.h"

/// Writes every message to the standard error and counts them; answers No to every question. The crash child must
/// never wait for a click, and a message during an add means the add did not succeed.
class CountingMessenger final : public Messenger {
public:
    void show(Icon icon, const QString& text, const QString& detail = {}) override;
    bool ask(const QString& text, const QString& detail = {}) override;

    int count() const { return m_count; }

private:
    int m_count = 0;
};
