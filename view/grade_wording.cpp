#include "view/grade_wording.h"

#include <QCoreApplication>

QString GradeWord(Grade grade) {
  switch (grade) {
    case Grade::Easy: return QCoreApplication::translate("Grade", "Easy");
    case Grade::Normal: return QCoreApplication::translate("Grade", "Normal");
    case Grade::Hard: return QCoreApplication::translate("Grade", "Hard");
    case Grade::Expert: return QCoreApplication::translate("Grade", "Expert");
  }
  return {};
}
