#include "app/about_box.h"

#include <QLabel>
#include <QPushButton>

#include "app/dialog_units.h"
#include "korvalo_constants.h"
#include "view/program_icon.h"

namespace {

QLabel* AddText(QWidget* parent, const QString& text, const QRect& place) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(place);
  return label;
}

}  // namespace

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent, FixedDialogFlags) {
  setWindowTitle(QStringLiteral("About"));
  setFont(DialogFont(font()));
  setFixedSize(DialogUnitSize(135, 78));

  auto* icon = new QLabel(this);
  icon->setGeometry(DialogUnitRect(7, 7, 21, 20));
  icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  icon->setPixmap(KorvaloIcon().pixmap(32, 32));

  AddText(this, QStringLiteral("Korvalo Level Editor, v.%1").arg(QLatin1String(KorvaloVersion)),
          DialogUnitRect(35, 7, 89, 8));
  AddText(this, QStringLiteral("Copyright (C) Vandrel"), DialogUnitRect(35, 18, 92, 8));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setGeometry(DialogUnitRect(40, 56, 50, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  AddText(this, QStringLiteral("Please visit the program's homepage\nfor more information."),
          DialogUnitRect(9, 33, 119, 18));
}
