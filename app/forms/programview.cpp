#include "programview.h"

#include "programsyntax.h"
#include "settingstext.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kMargin = 4; // pixels between the numbers and the text

QColor colourOf(SyntaxKind kind) {
    switch (kind) {
    case SyntaxKind::Comment:
        return QColor(0x2E, 0x7D, 0x32);
    case SyntaxKind::BlockNumber:
        return QColor(0x15, 0x65, 0xC0);
    case SyntaxKind::Code:
        return QColor(0xB7, 0x1C, 0x1C);
    case SyntaxKind::Axis:
        return QColor(0x00, 0x69, 0x7A);
    case SyntaxKind::Setting:
        return QColor(0x8E, 0x24, 0xAA);
    case SyntaxKind::Plain:
        break;
    }
    return QColor(Qt::black);
}

QString textOf(std::string_view bytes) {
    return settingsText(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The first `most` bytes of `bytes`, less the start of a UTF-8 character that the cut splits.
std::string_view headOf(std::string_view bytes, std::size_t most) {
    if (bytes.size() <= most)
        return bytes;
    std::size_t cut = most;
    for (int back = 0; back < 3 && cut > 0 && continuesCharacter(bytes[cut]); ++back)
        --cut;
    return continuesCharacter(bytes[cut]) ? bytes.substr(0, most) : bytes.substr(0, cut);
}

} // namespace

ProgramView::ProgramView(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(fontMetrics().horizontalAdvance(u'0'));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(),
            qOverload<>(&QWidget::update));
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(),
            qOverload<>(&QWidget::update));
}

void ProgramView::setProgram(std::shared_ptr<const ProgramFile> program) {
    mProgram = std::move(program);
    mMarked = 0;
    updateScrollBar();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

int ProgramView::lineHeight() const {
    return fontMetrics().height();
}

int ProgramView::visibleLines() const {
    return std::max(1, viewport()->height() / lineHeight());
}

int ProgramView::heightOfLines(int lines) const {
    return lines * lineHeight() + 2 * frameWidth() + horizontalScrollBar()->sizeHint().height();
}

int ProgramView::gutterWidth() const {
    const std::size_t lines = mProgram ? mProgram->lineCount() : 0;
    return fontMetrics().horizontalAdvance(QString::number(std::max<std::size_t>(lines, 1))) +
           2 * kMargin;
}

std::uint32_t ProgramView::firstShownLine() const {
    return static_cast<std::uint32_t>(verticalScrollBar()->value()) + 1;
}

void ProgramView::updateScrollBar() {
    const auto lines = static_cast<int>(mProgram ? mProgram->lineCount() : 0);
    verticalScrollBar()->setRange(0, std::max(0, lines - visibleLines()));
    verticalScrollBar()->setPageStep(visibleLines());
    horizontalScrollBar()->setRange(0, static_cast<int>(kShownBytes + 32) *
                                           fontMetrics().horizontalAdvance(u'0'));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void ProgramView::markLine(std::uint32_t line) {
    mMarked = line;
    const std::uint32_t first = firstShownLine();
    const auto shown = static_cast<std::uint32_t>(visibleLines());
    if (line != 0 && (line < first || line >= first + shown))
        verticalScrollBar()->setValue(static_cast<int>(line) - 1 - static_cast<int>(shown / 2));
    viewport()->update();
}

bool ProgramView::find(const QString& text, Direction direction) {
    if (!mProgram || text.isEmpty() || mProgram->lineCount() == 0)
        return false;
    const QByteArray wanted = text.toUtf8();
    const std::string_view needle(wanted.constData(), static_cast<std::size_t>(wanted.size()));
    const auto lines = static_cast<std::uint32_t>(mProgram->lineCount());
    const std::uint32_t marked = std::min(mMarked, lines);
    std::uint32_t found = 0;
    if (direction == Direction::Forward) {
        found = findBetween(marked + 1, lines, needle, direction);
        if (found == 0)
            found = findBetween(1, marked, needle, direction);
    } else {
        // Backwards without a marked line starts after the last line.
        const std::uint32_t before = marked == 0 ? lines + 1 : marked;
        found = findBetween(1, before - 1, needle, direction);
        if (found == 0)
            found = findBetween(before, lines, needle, direction);
    }
    if (found == 0)
        return false;
    markLine(found);
    return true;
}

std::uint32_t ProgramView::findBetween(std::uint32_t from, std::uint32_t to,
                                       std::string_view needle, Direction direction) const {
    std::uint32_t found = 0;
    if (from > to)
        return found;
    mProgram->scanFrom(from, kShownBytes + 1, [&](const ScannedLine& line) {
        if (line.number > to)
            return false;
        if (headOf(line.head, kShownBytes).find(needle) == std::string_view::npos)
            return true;
        found = static_cast<std::uint32_t>(line.number);
        return direction == Direction::Backward;
    });
    return found;
}

std::string ProgramView::shownBytes(std::uint32_t line) const {
    if (!mProgram)
        return {};
    return std::string(headOf(mProgram->head(line, kShownBytes + 1), kShownBytes));
}

QString ProgramView::cutNote(std::uint32_t line) const {
    const std::uint64_t bytes = mProgram ? mProgram->lineLength(line) : 0;
    if (bytes <= kShownBytes)
        return {};
    return QStringLiteral(" \u2026 (%1 bytes)").arg(bytes);
}

void ProgramView::drawLine(QPainter& painter, std::uint32_t line, int y) const {
    const int gutter = gutterWidth();
    const int baseline = y + fontMetrics().ascent();
    painter.setPen(QColor(0x90, 0x90, 0x90));
    painter.drawText(QRect(0, y, gutter - kMargin, lineHeight()), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(line));
    painter.setClipRect(gutter, y, viewport()->width() - gutter, lineHeight());
    const std::string shown = shownBytes(line);
    const std::string_view bytes = shown;
    int x = gutter + kMargin - horizontalScrollBar()->value();
    for (const SyntaxSpan& span : SyntaxSpansOf(bytes)) {
        const QString part = textOf(bytes.substr(span.start, span.length));
        painter.setPen(colourOf(span.kind));
        painter.drawText(x, baseline, part);
        x += fontMetrics().horizontalAdvance(part);
    }
    painter.setPen(QColor(0x90, 0x90, 0x90));
    painter.drawText(x, baseline, cutNote(line));
    painter.setClipping(false);
}

void ProgramView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    if (!mProgram)
        return;
    const std::uint32_t first = firstShownLine();
    const auto last = static_cast<std::uint32_t>(
        std::min<std::size_t>(mProgram->lineCount(), first + visibleLines()));
    painter.fillRect(0, 0, gutterWidth(), viewport()->height(), QColor(0xF3, 0xF3, 0xF3));
    for (std::uint32_t line = first; line <= last; ++line) {
        const int y = static_cast<int>(line - first) * lineHeight();
        if (line == mMarked)
            painter.fillRect(0, y, viewport()->width(), lineHeight(), QColor(0xFF, 0xE0, 0x82));
        drawLine(painter, line, y);
    }
}

void ProgramView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void ProgramView::mousePressEvent(QMouseEvent* event) {
    if (!mProgram || event->button() != Qt::LeftButton)
        return;
    const std::uint32_t line =
        firstShownLine() + static_cast<std::uint32_t>(event->position().y() / lineHeight());
    if (line <= mProgram->lineCount())
        emit lineClicked(line);
}
