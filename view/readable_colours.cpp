#include "view/readable_colours.h"

#include <cmath>

namespace {

double LinearChannel(double value) {
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

/// The text laid over the background, as it shows.
QColor Over(const QColor& text, const QColor& background) {
  const double alpha = text.alphaF();
  const auto mix = [alpha](double top, double bottom) {
    return top * alpha + bottom * (1 - alpha);
  };
  return QColor::fromRgbF(static_cast<float>(mix(text.redF(), background.redF())),
                          static_cast<float>(mix(text.greenF(), background.greenF())),
                          static_cast<float>(mix(text.blueF(), background.blueF())));
}

/// The colour moved a step of t toward the target.
QColor Toward(const QColor& colour, const QColor& target, double t) {
  const auto mix = [t](double from, double to) {
    return static_cast<float>(from + (to - from) * t);
  };
  return QColor::fromRgbF(mix(colour.redF(), target.redF()), mix(colour.greenF(), target.greenF()),
                          mix(colour.blueF(), target.blueF()));
}

/// Moves `moved` toward `target` in small steps until the pair reads; false
/// when even the target does not reach the contrast.
bool MoveUntilReadable(QColor& moved, const QColor& target, const QColor& other, bool movedIsText) {
  const QColor start = moved;
  for (int step = 0; step <= 20; ++step) {
    moved = Toward(start, target, step / 20.0);
    const double ratio = movedIsText ? ContrastRatio(moved, other) : ContrastRatio(other, moved);
    if (ratio >= ReadableContrast) return true;
  }
  return false;
}

struct TextOn {
  QPalette::ColorRole text;
  QPalette::ColorRole background;
};

constexpr TextOn TextRoles[] = {
    {QPalette::WindowText, QPalette::Window},
    {QPalette::Text, QPalette::Base},
    {QPalette::Text, QPalette::AlternateBase},
    {QPalette::ButtonText, QPalette::Button},
    {QPalette::HighlightedText, QPalette::Highlight},
    {QPalette::ToolTipText, QPalette::ToolTipBase},
    {QPalette::PlaceholderText, QPalette::Base},
};

}  // namespace

double RelativeLuminance(const QColor& colour) {
  return 0.2126 * LinearChannel(colour.redF()) + 0.7152 * LinearChannel(colour.greenF()) +
         0.0722 * LinearChannel(colour.blueF());
}

double ContrastRatio(const QColor& text, const QColor& background) {
  const double a = RelativeLuminance(Over(text, background));
  const double b = RelativeLuminance(background);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QPalette ReadablePalette(QPalette palette) {
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    for (const TextOn& pair : TextRoles) {
      QColor background = palette.color(group, pair.background);
      QColor text = Over(palette.color(group, pair.text), background);
      if (ContrastRatio(text, background) >= ReadableContrast) continue;
      // Light text on a darker background grows lighter, dark text darker.
      const bool lightText = RelativeLuminance(text) > RelativeLuminance(background);
      const QColor textEnd = lightText ? Qt::white : Qt::black;
      const QColor backgroundEnd = lightText ? Qt::black : Qt::white;
      if (!MoveUntilReadable(text, textEnd, background, true))
        MoveUntilReadable(background, backgroundEnd, text, false);
      palette.setColor(group, pair.text, text);
      palette.setColor(group, pair.background, background);
    }
  }
  return palette;
}
