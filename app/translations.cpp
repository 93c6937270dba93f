#include "app/translations.h"

#include "view/program_translations.h"

void InstallTranslations(QCoreApplication& application) {
  InstallProgramTranslations(application, QStringLiteral("korvalo_editor"));
}
