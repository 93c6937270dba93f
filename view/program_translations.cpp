#include "view/program_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

void Install(QCoreApplication& application, const QString& name, const QString& folder,
             const QLocale& locale) {
  auto* translator = new QTranslator(&application);
  if (translator->load(locale, name, QStringLiteral("_"), folder))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace

// A translator installed later is asked first: the user's language, then the
// English plural forms for texts it does not have.
void InstallProgramTranslations(QCoreApplication& application, const QString& catalogue) {
  const QString own = QStringLiteral(":/i18n");
  Install(application, catalogue, own, QLocale(QLocale::English));
  const QLocale locale;
  if (locale.language() == QLocale::English) return;
  Install(application, QStringLiteral("korvalo_view"), own, locale);
  Install(application, catalogue, own, locale);
  Install(application, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath),
          locale);
}
