#pragma once
// The translations of the editor's designer mode and of the game, built into
// each program under ":/i18n" as CATALOGUE_LANGUAGE.qm: English with its
// plural forms, and the user's language where one exists; beside them the
// words both programs share (korvalo_view).

#include <QString>

class QCoreApplication;

/// Installs the catalogue and the shared words for the system's locale over
/// the catalogue's English plural forms, with Qt's own texts of its standard
/// dialogs and buttons.
void InstallProgramTranslations(QCoreApplication& application, const QString& catalogue);
