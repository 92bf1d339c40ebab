#pragma once

#include <QString>

class QWidget;

/// Every message box of the program goes through this interface, so that the logic behind a box can be tested
/// with a double that records the text and scripts the answer.
class Messenger {
public:
    enum class Icon { None, Warning, Critical, Information };
    enum class Answer { No, Yes };

    virtual ~Messenger() = default;
    /// A modal box with one OK button. `detail` is shown as the informative text under the message.
    virtual void show(Icon icon, const QString& text, const QString& detail = {}) = 0;
    /// A modal Yes/No question; true for Yes. `byDefault` is the answer that Enter gives.
    virtual bool ask(const QString& text, const QString& detail = {}, Answer byDefault = Answer::No) = 0;

    void warning(const QString& text, const QString& detail = {}) { show(Icon::Warning, text, detail); }
    void critical(const QString& text, const QString& detail = {}) { show(Icon::Critical, text, detail); }
    void plain(const QString& text) { show(Icon::None, text); }
};

/// The real thing: a modal QMessageBox titled "Mézor" over `parent`.
class QtMessenger final : public Messenger {
public:
    explicit QtMessenger(QWidget* parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParent(QWidget* parent) { m_parent = parent; }
    void show(Icon icon, const QString& text, const QString& detail = {}) override;
    bool ask(const QString& text, const QString& detail = {}, Answer byDefault = Answer::No) override;

private:
    QWidget* m_parent;
};
