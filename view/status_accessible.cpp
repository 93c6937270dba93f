#include "view/status_accessible.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>

namespace {

/// The dynamic property that marks a label as a status line.
constexpr const char* StatusLineProperty = "korvaloStatusLine";

/// The label as a status bar whose name and text are what it shows.
class CStatusAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit CStatusAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StatusBar) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return Shown();
    return QAccessibleWidget::text(kind);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  // The text is read, never selected or edited.
  void selection(int, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = 0;
  }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int startOffset, int endOffset) const override {
    return Shown().mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return static_cast<int>(Shown().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    *startOffset = offset;
    *endOffset = offset;
    return {};
  }

 private:
  QString Shown() const { return static_cast<QLabel*>(widget())->text(); }
};

QAccessibleInterface* StatusAccessibleFactory(const QString&, QObject* object) {
  auto* label = qobject_cast<QLabel*>(object);
  if (label == nullptr || !label->property(StatusLineProperty).toBool()) return nullptr;
  return new CStatusAccessible(label);
}

}  // namespace

void MakeStatusLine(QLabel* label) {
  static const bool installed = [] {
    QAccessible::installFactory(StatusAccessibleFactory);
    return true;
  }();
  (void)installed;
  label->setProperty(StatusLineProperty, true);
  // The name is the text itself; a fixed name would hide it.
  label->setAccessibleName(QString());
}

void SetStatusText(QLabel* label, const QString& text, Repeat repeat) {
  const QString before = label->text();
  if (before == text && repeat == Repeat::Silent) return;
  label->setText(text);
  if (!QAccessible::isActive()) return;
  QAccessibleEvent named(label, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&named);
  QAccessibleTextUpdateEvent changed(label, 0, before, text);
  QAccessible::updateAccessibility(&changed);
}
