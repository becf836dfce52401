#pragma once
// Every message box of the program goes through a MessageSink, so that tests can record
// messages instead of blocking on a modal box.

#include <QString>
#include <QStringList>

namespace platform {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows `text` to the user and returns when the user has acknowledged it.
    virtual void ShowMessage(const QString& text) = 0;
};

// Keeps the texts in the order they were shown; shows nothing.
class MessageRecorder : public MessageSink {
public:
    void ShowMessage(const QString& text) override { m_messages.append(text); }
    const QStringList& messages() const { return m_messages; }

private:
    QStringList m_messages;
};

} // namespace platform
