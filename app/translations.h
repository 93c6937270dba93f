#pragma once
// Designer mode speaks the user's language where a translation exists, and
// English with its plural forms otherwise. The classic editor installs none:
// its texts are its own, the same in every locale.

class QCoreApplication;

/// Installs the editor's translations for the system's locale, with Qt's own
/// texts of its standard dialogs and buttons.
void InstallTranslations(QCoreApplication& application);
