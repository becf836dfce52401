#pragma once
// The message sink that shows real modal message boxes.

#include "platform/MessageSink.h"

namespace platform {

class BoxMessageSink : public MessageSink {
public:
    // A modal information box titled with the application name.
    void ShowMessage(const QString& text) override;
    // A modal box over the active window; its button captions come from Qt's translations
    // for the system locale (see QtTranslations.h).
    MessageAnswer ShowBox(const QString& text, const QString& caption, MessageButtons buttons,
                          MessageIcon icon) override;
};

} // namespace platform
