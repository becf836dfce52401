#pragma once
// Qt's own translations (button captions such as "Ano"/"Ne" of a message box) for the system
// locale, installed once at start-up.

class QTranslator;

namespace platform {

// Loads Qt's "qtbase" catalogue for QLocale::system() from Qt's translations folder and
// installs it in the application, which owns it; returns it, or nullptr when there is none
// for that language (the captions then stay English). Call after the QCoreApplication exists.
QTranslator* InstallQtTranslations();

} // namespace platform
