#include "view/reason_wording.h"

#include <QCoreApplication>

QString ReasonWording(const Reason& reason) {
  const QString form = QCoreApplication::translate("Reason", ReasonForm(reason.id));
  const auto argument = [&reason](std::size_t i) {
    return QString::fromStdString(reason.arguments.at(i));
  };
  // All arguments in one call, so that an argument's own text is never
  // taken for a marker.
  switch (reason.arguments.size()) {
    case 0: return form;
    case 1: return form.arg(argument(0));
    default: return form.arg(argument(0), argument(1));
  }
}
