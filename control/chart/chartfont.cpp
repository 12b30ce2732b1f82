#include "chartfont.h"

#include <QFontMetrics>

#include <algorithm>
#include <unordered_map>

namespace {

const QString kFontFamily = QStringLiteral("DejaVu Sans Mono");

QFont makeFont(int pixelSize, int stretch) {
    QFont font(kFontFamily);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setWeight(QFont::Thin);
    font.setPixelSize(pixelSize);
    font.setStretch(stretch);
    return font;
}

int advanceOf(const ChartFace& face) {
    return QFontMetrics(face.font()).horizontalAdvance(QLatin1Char('0'));
}

int cellHeightOf(const ChartFace& face) {
    const QFontMetrics metrics(face.font());
    return metrics.ascent() + metrics.descent();
}

} // namespace

ChartFace ChartFace::forCellHeight(int height) {
    static std::unordered_map<int, ChartFace> known;
    if (const auto found = known.find(height); found != known.end())
        return found->second;
    ChartFace face{height, QFont::Unstretched};
    while (face.pixelSize > 1 && cellHeightOf(face) > height)
        --face.pixelSize;
    const int target = height / 2;
    face.stretch = std::clamp(qRound(100.0 * target / advanceOf(face)), 1, 4000);
    for (int tries = 0; tries < 8 && advanceOf(face) > target && face.stretch > 1; ++tries)
        --face.stretch;
    for (int tries = 0; tries < 8 && advanceOf(face) < target && face.stretch < 4000; ++tries)
        ++face.stretch;
    known.emplace(height, face);
    return face;
}

QFont ChartFace::font() const {
    return makeFont(pixelSize, stretch);
}

QFont ChartFace::unstretchedFont() const {
    return makeFont(pixelSize, QFont::Unstretched);
}
