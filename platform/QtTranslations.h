#pragma once
// Qt's own translations (button captions such as "Ano"/"Ne" of a message box) for the system
// locale, installed once at start-up.

namespace platform {

// Loads Qt's "qtbase" catalogue for QLocale::system() from Qt's translations folder and
// installs it in the application; returns false when there is none for that language (the
// captions then stay English). Call after the QCoreApplication exists.
bool InstallQtTranslations();

} // namespace platform
