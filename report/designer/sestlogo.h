#pragma once
// The wait splash shown while the designer window is being built: a borderless 250 x 96
// notice centred on the screen. At most one exists.

#include <QFrame>

namespace designer {

class TFormLogo : public QFrame {
    Q_OBJECT

public:
    // Creates the splash (unless it is already shown), shows it and paints it at once.
    static void ShowWait();
    // Hides and frees the splash; nothing when there is none.
    static void HideWait();
    // The splash while it exists, else null.
    static TFormLogo* instance();

private:
    TFormLogo();
};

} // namespace designer
