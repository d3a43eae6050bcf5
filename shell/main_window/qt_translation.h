// Qt's own texts (standard buttons, file dialogs, the editor's context texts)
// in Russian, like the rest of the environment.
#pragma once

class QCoreApplication;

namespace zr::shell {

// Loads Qt's Russian translation from Qt's translations folder and installs it
// in `app`; false when it is not installed (the texts then stay English).
bool InstallQtTranslation(QCoreApplication& app);

}  // namespace zr::shell
