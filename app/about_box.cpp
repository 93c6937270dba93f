#include "app/about_box.h"

#include <QDialogButtonBox>
#include <QGridLayout>
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

QLabel* IconLabel(QWidget* parent) {
  auto* icon = new QLabel(parent);
  icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  icon->setPixmap(KorvaloIcon().pixmap(32, 32));
  return icon;
}

}  // namespace

CAboutBox::CAboutBox(QWidget* parent, EditorMode mode) : QDialog(parent, FixedDialogFlags) {
  if (mode == EditorMode::Classic)
    LayOutClassic();
  else
    LayOutForDesigner();
}

void CAboutBox::LayOutClassic() {
  setWindowTitle(QStringLiteral("About"));
  setFont(DialogFont(font()));
  setFixedSize(DialogUnitSize(135, 78));

  IconLabel(this)->setGeometry(DialogUnitRect(7, 7, 21, 20));

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

void CAboutBox::LayOutForDesigner() {
  setWindowTitle(tr("About"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(IconLabel(this), 0, 0, 3, 1);
  const QStringList lines{tr("Korvalo Level Designer, v.%1").arg(QLatin1String(KorvaloVersion)),
                          tr("Copyright (C) Vandrel"),
                          tr("Please visit the program's homepage for more information.")};
  for (int row = 0; row < lines.size(); ++row) {
    auto* label = new QLabel(lines[row], this);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label, row, 1);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons, 3, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
