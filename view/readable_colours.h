#pragma once
// Texts that everyone can read: the contrast of two colours as the Web
// Content Accessibility Guidelines (WCAG 2) measure it, and a palette whose
// texts all reach the 4.5 to 1 that ordinary text needs.

#include <QColor>
#include <QPalette>

/// The contrast every text keeps against its background.
inline constexpr double ReadableContrast = 4.5;

/// WCAG 2 relative luminance of an opaque colour, 0 (black) to 1 (white).
double RelativeLuminance(const QColor& colour);

/// WCAG 2 contrast ratio, 1 (the same) to 21 (black and white); a text
/// colour that is not opaque is laid over the background first.
double ContrastRatio(const QColor& text, const QColor& background);

/// The palette with each text role at ReadableContrast or more against the
/// background it is drawn on, in the active and inactive groups (disabled
/// controls are exempt): a text is moved further from its background, toward
/// black or white, and where that is not enough (white on a selection) the
/// background is moved the other way.
QPalette ReadablePalette(QPalette palette);
