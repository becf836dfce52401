#pragma once
// Every message box of the program goes through a MessageSink, so that tests can record
// messages instead of blocking on a modal box.

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Question, Warning, Critical };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows `text` to the user and returns when the user has acknowledged it.
    virtual void ShowMessage(const QString& text) = 0;
    // A box with its own caption, buttons and icon; returns the button the user chose (Ok for
    // an OK box; Yes or No for a question, No when the box was closed without a choice).
    // A sink that only knows plain messages shows the text and declines every question.
    virtual MessageAnswer ShowBox(const QString& text, const QString& caption,
                                  MessageButtons buttons, MessageIcon icon) {
        Q_UNUSED(caption);
        Q_UNUSED(icon);
        ShowMessage(text);
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
};

// One box as a MessageRecorder saw it.
struct RecordedBox {
    QString text;
    QString caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Keeps the texts in the order they were shown; shows nothing. Questions are answered from a
// script of answers, in order; once the script is used up a question is answered No.
class MessageRecorder : public MessageSink {
public:
    void ShowMessage(const QString& text) override { m_messages.append(text); }
    MessageAnswer ShowBox(const QString& text, const QString& caption, MessageButtons buttons,
                          MessageIcon icon) override {
        m_messages.append(text);
        m_boxes.append({text, caption, buttons, icon});
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (m_answers.isEmpty())
            return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
        return m_answers.takeFirst();
    }
    // The answers to the next questions, in order (Yes or No).
    void scriptAnswers(const QList<MessageAnswer>& answers) { m_answers += answers; }
    // The texts of all messages and boxes, in order.
    const QStringList& messages() const { return m_messages; }
    // The boxes shown through ShowBox, in order.
    const QList<RecordedBox>& boxes() const { return m_boxes; }

private:
    QStringList m_messages;
    QList<RecordedBox> m_boxes;
    QList<MessageAnswer> m_answers;
};

} // namespace platform
