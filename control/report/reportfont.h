#pragma once

#include <QFont>

// The face of a report's text at `points`, bold or not, embedded in the document so that its text
// can be selected and searched. Without shaping, so no ligature turns "fi" into one glyph that a
// search for the word would miss.
inline QFont reportFont(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
