#pragma once
// The message sink that shows real modal message boxes.

#include "platform/MessageSink.h"

namespace platform {

// A modal information box titled with the application name.
class BoxMessageSink : public MessageSink {
public:
    void ShowMessage(const QString& text) override;
};

} // namespace platform
