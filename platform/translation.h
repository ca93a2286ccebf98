#pragma once
// Qt's own texts in Czech, as the rest of the program: the fields' context
// menus, the buttons of message boxes, the printing progress box.

namespace platform {

// Installs Qt's Czech translation (qtbase_cs.qm) whatever the desktop's
// language: from the folder "translations" beside the program (the Windows
// packages), else from Qt's own translations folder. Without it the program
// runs on with Qt's English texts, and says so on standard error. Needs the
// application object; returns whether the translation was found.
bool installQtTranslation();

} // namespace platform
