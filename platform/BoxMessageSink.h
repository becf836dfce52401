#pragma once
// The message sink that shows real modal message boxes.

#include "platform/MessageSink.h"

namespace platform {

class BoxMessageSink : public MessageSink {
public:
    // The captions of the buttons: Qt's translations for the system locale, or always the
    // Czech "OK", "Ano", "Ne", "Storno" (for the report designer, whose texts are all Czech).
    enum class Buttons { Translated, Czech };
    explicit BoxMessageSink(Buttons buttons = Buttons::Translated) : m_buttons(buttons) {}

    // A modal information box titled with the application name.
    void ShowMessage(const QString& text) override;
    // A modal box over the active window; its button captions as chosen above (the
    // translations: see QtTranslations.h).
    MessageAnswer ShowBox(const QString& text, const QString& caption, MessageButtons buttons,
                          MessageIcon icon) override;

private:
    Buttons m_buttons;
};

} // namespace platform
